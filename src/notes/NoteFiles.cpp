#include "notes/NoteFiles.h"

#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "notes/Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

#include <string_view>

using namespace Qt::StringLiterals;

namespace qm {

const QStringList &NoteFileFilters() {
    static const QStringList filters = {u"Quillmate Notes (*.QMN)"_s, u"Rich Text (*.RTF)"_s,
                                        u"Microsoft Word (*.DOC)"_s};
    return filters;
}

QString NoteFileExtension(int filterIndex) {
    static const QStringList extensions = {u".Qmn"_s, u".Rtf"_s, u".Doc"_s};
    return filterIndex >= 1 && filterIndex <= extensions.size() ? extensions.at(filterIndex - 1)
                                                                : QString();
}

QString WithDefaultExtension(const QString &path, int filterIndex) {
    const QString extension = NoteFileExtension(filterIndex);
    // Only the name counts: a folder called "my.notes" is no extension.
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (extension.isEmpty() || name.endsWith(extension) || name.contains(u'.'))
        return path;
    return path + extension;
}

NoteFileKind NoteFileKindOf(const QByteArray &bytes) {
    if (IsRtf(bytes))
        return NoteFileKind::Rtf;
    // UTF-16 text is half NUL bytes; UTF-32 is refused with the binaries.
    if (const auto encoding = QStringConverter::encodingForData(bytes);
        encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE)
        return NoteFileKind::PlainText;
    // The first bytes of files that may hold no NUL near their start, or
    // none at all (a PDF of text streams, an archive of text files).
    static constexpr std::string_view Signatures[] = {
        "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", // compound file: .doc, .xls, .msg...
        "PK\x03\x04",                       // ZIP: .docx, .odt, .pages...
        "PK\x05\x06",                       // ZIP with nothing in it
        "PK\x07\x08",                       // ZIP in parts
        "%PDF-",
        "\xFFWPC",  // WordPerfect
        "\x1F\x8B", // gzip
        "7z\xBC\xAF\x27\x1C",
        "Rar!\x1A\x07",
        "\xFD\x37zXZ",      // xz
        "\x28\xB5\x2F\xFD", // zstd
        "\x89PNG\r\n\x1A\n",
        "\xFF\xD8\xFF", // JPEG
        "GIF87a",
        "GIF89a",
    };
    const std::string_view start(bytes.constData(), size_t(bytes.size()));
    for (const std::string_view signature : Signatures)
        if (start.starts_with(signature))
            return NoteFileKind::Binary;
    return bytes.contains('\0') ? NoteFileKind::Binary : NoteFileKind::PlainText;
}

QString NotesNameFor(const QString &path) {
    const QFileInfo info(path);
    QString name = info.fileName();
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot > 0)
        name.truncate(dot);
    return QDir(info.path()).filePath(name + NoteFileExtension(1));
}

QString LossNames(RtfLosses losses) {
    static const struct {
        RtfLoss loss;
        QString name;
    } Names[] = {
        {RtfLoss::Pictures, u"Pictures"_s},
        {RtfLoss::Objects, u"Objects"_s},
        {RtfLoss::Tables, u"Tables"_s},
        {RtfLoss::HeadersAndFooters, u"Headers And Footers"_s},
        {RtfLoss::Footnotes, u"Footnotes"_s},
        {RtfLoss::Comments, u"Comments"_s},
        {RtfLoss::Fields, u"Fields"_s},
        {RtfLoss::Bookmarks, u"Bookmarks"_s},
        {RtfLoss::IndexEntries, u"Index Entries"_s},
    };
    QStringList names;
    for (const auto &entry : Names)
        if (losses.testFlag(entry.loss))
            names.append(entry.name);
    if (names.size() < 2)
        return names.value(0);
    const QString last = names.takeLast();
    return names.join(u", "_s) + u" And "_s + last;
}

QByteArray ReadNoteFile(const QString &path) {
    // A folder, a pipe or a device is not a note: reading a pipe would wait
    // for ever, and a device may never end.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        throw FileError(u"Cannot Read The File: It Is Not An Ordinary File"_s, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(file.errorString(), path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString(), path);
    return bytes;
}

void WriteNoteFile(const QString &path, const QTextDocument &document) {
    ReplaceFileAtomically(path, WriteRtf(document));
}

int FontSizeBoxValue(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

std::optional<int> SpunFontSize(const QString &text, int step) {
    const int size = FontSizeBoxValue(text) + step;
    if (size < SmallestSpunFontSize || size > LargestFontSize)
        return std::nullopt;
    return size;
}

} // namespace qm
