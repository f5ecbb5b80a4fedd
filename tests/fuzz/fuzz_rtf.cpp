// libFuzzer target for the RTF reader and what the notes page reads a file
// with: any bytes are read into a document, which is then written back, and
// read again as a note file is (rich text or plain text, whichever the bytes
// are). Crashes, hangs, leaks and sanitizer reports are the faults; the
// readers promise to survive every input.

#include "notes/NoteFiles.h"
#include "notes/Rtf.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    // Fonts need an application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    qm::ReadRtf(bytes, document);
    const QByteArray rtf = qm::WriteRtf(document);
    // What we write we must read back without loss of text.
    QTextDocument again;
    qm::ReadRtf(rtf, again);
    if (again.toRawText() != document.toRawText())
        __builtin_trap();

    // The notes page: the kind decides, and only rich text is read as RTF.
    const qm::NoteFileKind kind = qm::NoteFileKindOf(bytes);
    if ((kind == qm::NoteFileKind::Rtf) != qm::IsRtf(bytes))
        __builtin_trap();
    QTextDocument note;
    const qm::RtfLosses losses = qm::ReadNoteBytes(bytes, note);
    if (kind != qm::NoteFileKind::Rtf && (losses != qm::RtfLoss::Nothing || note.isUndoAvailable()))
        __builtin_trap();
    return 0;
}
