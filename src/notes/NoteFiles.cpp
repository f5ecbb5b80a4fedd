#include "notes/NoteFiles.h"

#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "notes/Rtf.h"

#include <QFile>
#include <QFileInfo>

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
    if (extension.isEmpty() || path.endsWith(extension) || path.contains(u'.'))
        return path;
    return path + extension;
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
