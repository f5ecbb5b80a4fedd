#pragma once

#include "notes/Rtf.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QTextDocument;

namespace qm {

// The kinds of note file the open and save dialogs offer. All hold the same
// rich text; they differ only in name. Filter indexes count from 1.
const QStringList &NoteFileFilters();
// ".Qmn", ".Rtf" or ".Doc" for filter index 1, 2 or 3; empty for any other.
QString NoteFileExtension(int filterIndex);

// A chosen name with the filter's extension appended when the file name has no
// full stop (its folders may have one); a name with a full stop is kept as it is.
QString WithDefaultExtension(const QString &path, int filterIndex);

// What a file's bytes are to the notes page. Rich text is read as a note;
// plain text is shown but never written back over, since the file would
// become rich text; a binary file (another program's own format) is not
// read at all.
enum class NoteFileKind { Rtf, PlainText, Binary };
// RTF when IsRtf (white space and a UTF-8 byte order mark may come before
// "{\rtf"); plain text after a UTF-16 byte order
// mark; binary when they hold a NUL byte anywhere or start with the signature
// of a word processor's, an office suite's, an archive's, a PDF's or a
// picture's file; plain text otherwise.
NoteFileKind NoteFileKindOf(const QByteArray &bytes);

// The name proposed for saving notes that came from path without being kept
// in it: the same folder and name, with ".Qmn" for the last extension
// (notes.txt gives notes.Qmn).
QString NotesNameFor(const QString &path);

// What a file holds that the notes page cannot keep, in words for a message:
// "Pictures", "Pictures And Tables", "Pictures, Tables And Footnotes".
QString LossNames(RtfLosses losses);

// The bytes of a note file. Raises FileError when the file cannot be opened
// or read, a missing file and a folder included, so the caller can leave the
// editor as it was.
QByteArray ReadNoteFile(const QString &path);
// Writes the document as rich text, replacing the file in one step: a failed
// write raises FileError and leaves the old file whole.
void WriteNoteFile(const QString &path, const QTextDocument &document);

// The font size box holds at most two digits; sizes above this are refused.
inline constexpr int LargestFontSize = 32;
// The spinner moves within these sizes only.
inline constexpr int SmallestSpunFontSize = 8;
// The size box's text as a whole number: 0 when it is empty or not a number.
int FontSizeBoxValue(const QString &text);
// The size the spinner puts into the box, one step up (+1) or down (-1)
// from its text; nothing when that leaves the spinner's range.
std::optional<int> SpunFontSize(const QString &text, int step);

} // namespace qm
