#pragma once

// Rich text notes are stored as RTF, which word processors on every system
// read; the editor works on a QTextDocument, so these convert between the two.
// Only what the notes page can show survives a read: fonts, sizes, bold,
// italic, underline, strike-out, text and background colours, and paragraph
// alignment. Everything else in a file (pictures, headers, tables' layout...)
// is dropped, keeping its text where it has any.

#include <QByteArray>

class QTextDocument;

namespace qm {

// True when bytes start with "{\rtf" (the reader's test for rich text).
bool IsRtf(const QByteArray &bytes);

// Replaces document's content by the RTF in bytes. Never throws, never
// crashes, never hangs: broken or hostile input gives what could be read.
// Every run carries its font family and point size.
void ReadRtf(const QByteArray &bytes, QTextDocument &document);

// What a note file's bytes become in the editor: RTF when IsRtf, otherwise
// plain text (UTF-8 when the bytes are valid UTF-8, else Windows-1252) in the
// document's default font.
void ReadNoteBytes(const QByteArray &bytes, QTextDocument &document);

// The document as RTF: Windows-1252 with \u escapes for other characters.
// Runs without their own family or size take document.defaultFont()'s.
QByteArray WriteRtf(const QTextDocument &document);

} // namespace qm
