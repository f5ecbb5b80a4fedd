#pragma once

// Rich text notes are stored as RTF, which word processors on every system
// read; the editor works on a QTextDocument, so these convert between the two.
// Only what the notes page can show survives a read: fonts, sizes, bold,
// italic, underline, strike-out, text and background colours, and paragraph
// alignment. Everything else in a file (pictures, headers, tables' layout...)
// is dropped, keeping its text where it has any; the reader says which of
// the things a user would miss it dropped, so a file written by a word
// processor is not rewritten without a word.

#include <QByteArray>
#include <QFlags>

class QTextDocument;

namespace qm {

// True when bytes start with "{\rtf", after white space and a UTF-8 byte
// order mark if any (the reader's test for rich text).
bool IsRtf(const QByteArray &bytes);

// Content of a file that the editor cannot hold: reading drops it (keeping
// the text of a table, a field's result...), so writing the file back would
// lose it. Formatting the editor has no place for is not counted.
enum class RtfLoss : unsigned {
    Nothing = 0,
    Pictures = 1U << 0,
    Objects = 1U << 1,
    Tables = 1U << 2,
    HeadersAndFooters = 1U << 3,
    Footnotes = 1U << 4,
    Comments = 1U << 5,
    Fields = 1U << 6,
    Bookmarks = 1U << 7,
    IndexEntries = 1U << 8,
};
Q_DECLARE_FLAGS(RtfLosses, RtfLoss)
Q_DECLARE_OPERATORS_FOR_FLAGS(RtfLosses)

// Replaces document's content by the RTF in bytes and returns what of the
// file it could not keep. Never throws, never crashes, never hangs: broken
// or hostile input gives what could be read. Every run carries its font
// family and point size.
RtfLosses ReadRtf(const QByteArray &bytes, QTextDocument &document);

// What a note file's bytes become in the editor: RTF when IsRtf, otherwise
// plain text (UTF-16 after its byte order mark, UTF-8 when the bytes are
// valid UTF-8, else Windows-1252) in the document's default font. Returns
// what could not be kept, as ReadRtf does; plain text loses nothing.
RtfLosses ReadNoteBytes(const QByteArray &bytes, QTextDocument &document);

// The document as RTF: Windows-1252 with \u escapes for other characters.
// Runs without their own family or size take document.defaultFont()'s.
QByteArray WriteRtf(const QTextDocument &document);

} // namespace qm
