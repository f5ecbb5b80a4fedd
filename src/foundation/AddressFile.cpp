#include "foundation/AddressFile.h"

#include "foundation/BusyScope.h"
#include "foundation/Codec1252.h"
#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <optional>
#include <stdexcept>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 CopyBufferSize = 8192;

enum class Operation { Add, Edit, Delete };

Operation parseOperation(const QString &operation) {
    if (operation == AddOperation)
        return Operation::Add;
    if (operation == EditOperation)
        return Operation::Edit;
    if (operation == DeleteOperation)
        return Operation::Delete;
    throw std::invalid_argument("UpdateAddressFile: unknown operation");
}

// Runs step; a FileError it raises becomes one with the copy's own cause.
template <typename Step> void asCopyStep(const QString &cause, const QString &file, Step step) {
    try {
        step();
    } catch (const FileError &) {
        throw FileError(cause, file);
    }
}

// The number of a key field, or nothing when it is not a whole number >= 0.
std::optional<qint64> keyNumber(const QString &text) {
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

// Where the lines after the last whole record start: file.size() when the
// file holds whole records only.
qsizetype partialTailStart(const QByteArray &file) {
    LineCutter cutter(file);
    qsizetype lines = 0;
    qsizetype wholeEnd = 0;
    while (cutter.next())
        if (++lines % AddressFieldCount == 0)
            wholeEnd = cutter.end();
    return lines % AddressFieldCount == 0 ? file.size() : wholeEnd;
}

// Appends the records held in file (as bytes) to out, leaving out the
// records whose key line is *dropKey (when given): every one of them, or
// only the one counted by dropOccurrence (0 for the first with that key).
// Lines are cut by LineCutter, as every record file is read, and each is
// written with CR LF; runs of lines that already end in CR LF are copied in
// one piece, so a large file costs little more than its copy. Lines after the
// last whole record (a file cut short) are no record anyone can choose: they
// are kept exactly as they are, never dropped or completed.
void appendRecords(const QByteArray &file, const QByteArray *dropKey, int dropOccurrence,
                   QByteArray &out) {
    const char *data = file.constData();
    const qsizetype tail = partialTailStart(file);
    out.reserve(out.size() + file.size() + 2);
    qsizetype copyFrom = 0; // start of the lines still to be copied as they are
    bool dropping = false;
    int lineInRecord = 0;
    int matches = 0;
    LineCutter cutter(file);
    while (cutter.next() && cutter.start() < tail) {
        const qsizetype start = cutter.start();
        if (lineInRecord == 0) {
            bool drop = dropKey && cutter.text() == QByteArrayView(*dropKey);
            if (drop)
                drop = dropOccurrence < 0 || matches++ == dropOccurrence;
            if (drop && !dropping)
                out.append(data + copyFrom, start - copyFrom);
            else if (!drop && dropping)
                copyFrom = start;
            dropping = drop;
        }
        if (!dropping && !cutter.endsInCrLf()) {
            // Not ended by CR LF: the line is written with one.
            out.append(data + copyFrom, start - copyFrom);
            out.append(cutter.text());
            out.append("\r\n", 2);
            copyFrom = cutter.end();
        }
        lineInRecord = (lineInRecord + 1) % AddressFieldCount;
    }
    if (dropping)
        copyFrom = tail;
    out.append(data + copyFrom, file.size() - copyFrom);
}

} // namespace

QList<AddressRecord> SplitAddressRecords(const QStringList &lines) {
    QList<AddressRecord> records;
    records.reserve((lines.size() + AddressFieldCount - 1) / AddressFieldCount);
    for (qsizetype start = 0; start < lines.size(); start += AddressFieldCount) {
        AddressRecord &record = records.emplace_back();
        const qsizetype count = qMin<qsizetype>(AddressFieldCount, lines.size() - start);
        for (qsizetype i = 0; i < count; ++i)
            record[i] = lines.at(start + i);
    }
    return records;
}

QList<AddressRecord> ReadAddressRecords(const QString &path) {
    return SplitAddressRecords(ReadRecordFile(path));
}

QList<AddressRecord> ReadWholeAddressRecords(const QString &path, const QList<int> &fields) {
    return WholeAddressRecords(ReadFileBytes(path), fields);
}

QList<AddressRecord> WholeAddressRecords(const QByteArray &bytes, const QList<int> &fields) {
    std::array<bool, AddressFieldCount> wanted{};
    for (const int number : fields)
        wanted.at(number - 1) = true;
    QList<AddressRecord> records;
    records.reserve(bytes.count('\n') / AddressFieldCount + 1);
    LineCutter cutter(bytes);
    int field = 0;
    for (; cutter.next(); field = (field + 1) % AddressFieldCount) {
        if (field == 0)
            records.emplace_back();
        if (wanted[field])
            records.back()[field] = DecodeCp1252(QByteArray::fromRawData(
                bytes.constData() + cutter.start(), cutter.textEnd() - cutter.start()));
    }
    // A record cut short is no contact anyone can choose.
    if (field != 0)
        records.removeLast();
    return records;
}

QList<AddressRecord> ReadWholeAddressRecords(const QString &path) {
    QStringList lines = ReadRecordFile(path);
    lines.resize(lines.size() - lines.size() % AddressFieldCount);
    return SplitAddressRecords(lines);
}

const QList<AddressRecord> &AddressViewRecords::read(const QString &path,
                                                     const QList<int> &fields) {
    // Reading the bytes is cheap; making texts of them is what takes the time.
    QByteArray bytes = ReadFileBytes(path);
    if (!m_read || path != m_path || fields != m_fields || bytes != m_bytes) {
        m_records = WholeAddressRecords(bytes, fields);
        m_bytes = std::move(bytes);
        m_path = path;
        m_fields = fields;
        m_read = true;
        ++m_generation;
    }
    return m_records;
}

void CopyDataFile(const QString &source, const QString &destination) {
    const QString target = QFileInfo(destination).absoluteFilePath();
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw FileError(CopySourceProblem, source);
    std::optional<AtomicFileWriter> out;
    asCopyStep(CopyDestinationProblem, target, [&] { out.emplace(target); });
    QByteArray buffer(CopyBufferSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), CopyBufferSize);
        if (got < 0)
            throw FileError(CopySourceProblem, source);
        if (got > 0)
            asCopyStep(CopyDestinationProblem, target,
                       [&] { out->write(buffer.constData(), got); });
        if (got < CopyBufferSize)
            break;
    }
    asCopyStep(CopyDestinationProblem, target, [&] { out->commit(); });
}

AddressFile::AddressFile(QString folder) : m_folder(std::move(folder)), m_ownFolder(true) {}

QString AddressFile::path(const QString &fileName) const {
    return m_ownFolder ? m_folder + fileName : dataFile(fileName);
}

QList<AddressRecord> AddressFile::ReadRecords() const {
    return ReadAddressRecords(path(AddressFileName));
}

void AddressFile::UpdateAddressFile(const QString &key, const QString &operation, int occurrence) {
    const Operation op = parseOperation(operation);
    BusyScope busy;
    const QString addressPath = path(AddressFileName);
    QByteArray bytes;
    // The new or changed record always comes first.
    if (op != Operation::Delete)
        bytes =
            JoinRecordLines(QStringList(AddressFields.begin(), AddressFields.end()), addressPath);
    bool keyEncoded = true;
    const QByteArray keyBytes = EncodeCp1252(key, &keyEncoded);
    // A key with a character that no byte stands for is held by no record.
    const bool dropByKey = op != Operation::Add && keyEncoded;
    appendRecords(ReadFileBytes(addressPath), dropByKey ? &keyBytes : nullptr, occurrence, bytes);

    // Whether any contact remains is judged by what is written, never by the
    // count alone: a count out of step with the file must not delete contacts.
    replaceAddressFile(bytes);
    if (op == Operation::Add)
        ++AddressCount;
    else if (op == Operation::Delete)
        --AddressCount;
}

void AddressFile::replaceAddressFile(const QByteArray &bytes) {
    const QString addressPath = path(AddressFileName);
    const QString workPath = path(AddressWorkFileName);
    // Left over from an interrupted run.
    RemoveFileIfExists(workPath);
    if (bytes.isEmpty()) {
        RemoveFileIfExists(addressPath);
        return;
    }
    // The work file is complete and on disk before it replaces the old file in
    // one rename, so one of the two always holds the records. Its failures are
    // the address file's: that is what was not saved.
    try {
        ReplaceFileAtomically(workPath, bytes);
        KeepPermissions(addressPath, workPath);
        RenameFileOver(workPath, addressPath);
    } catch (const FileError &error) {
        QFile::remove(workPath);
        throw FileError(error.cause(), addressPath);
    }
}

QList<int> AddressFile::SaveContactChanges(const std::function<bool(AddressRecord &)> &change,
                                           QList<AddressRecord> added) {
    BusyScope busy;
    const QString addressPath = path(AddressFileName);
    const QByteArray file = ReadFileBytes(addressPath);
    const qsizetype tail = partialTailStart(file);
    QList<int> allFields;
    for (int field = 1; field <= AddressFieldCount; ++field)
        allFields.append(field);
    QList<AddressRecord> kept;
    for (AddressRecord record : WholeAddressRecords(file.left(tail), allFields)) {
        if (change(record))
            kept.append(record);
    }
    QList<int> keys;
    int first = 0;
    if (!added.isEmpty()) {
        first = chooseNewKey(true);
        if (qint64(first) + added.size() - 1 > std::numeric_limits<int>::max())
            throw ConversionError(u"Too Many Contacts For The Keys Left"_s, path(NextKeyFileName));
    }
    QStringList lines;
    lines.reserve((added.size() + kept.size()) * AddressFieldCount);
    for (AddressRecord &record : added) {
        const int key = first + int(keys.size());
        keys.append(key);
        AddressField(record, 1) = PadZeros(key, KeyWidth);
        for (const QString &field : record)
            lines.append(field);
    }
    for (const AddressRecord &record : kept) {
        for (const QString &field : record)
            lines.append(field);
    }
    QByteArray bytes = lines.isEmpty() ? QByteArray() : JoinRecordLines(lines, addressPath);
    bytes.append(file.mid(tail));
    replaceAddressFile(bytes);
    AddressCount = int(added.size() + kept.size());
    if (!keys.isEmpty()) {
        try {
            advanceKeyCounter(keys.last());
        } catch (const QuillmateError &error) {
            qWarning("The key counter %ls cannot be advanced (%ls); the next key is found from "
                     "the contacts.",
                     qUtf16Printable(QDir::toNativeSeparators(error.file())),
                     qUtf16Printable(error.cause()));
        }
    }
    return keys;
}

QList<int> AddressFile::SaveNewContacts(QList<AddressRecord> records) {
    if (records.isEmpty())
        return {};
    BusyScope busy;
    const QString addressPath = path(AddressFileName);
    const int first = chooseNewKey(true);
    if (qint64(first) + records.size() - 1 > std::numeric_limits<int>::max())
        throw ConversionError(u"Too Many Contacts For The Keys Left"_s, path(NextKeyFileName));
    QList<int> keys;
    QStringList lines;
    lines.reserve(records.size() * AddressFieldCount);
    for (AddressRecord &record : records) {
        const int key = first + int(keys.size());
        keys.append(key);
        AddressField(record, 1) = PadZeros(key, KeyWidth);
        for (const QString &field : record)
            lines.append(field);
    }
    QByteArray bytes = JoinRecordLines(lines, addressPath);
    appendRecords(ReadFileBytes(addressPath), nullptr, -1, bytes);
    replaceAddressFile(bytes);
    AddressCount += int(keys.size());
    try {
        advanceKeyCounter(keys.last());
    } catch (const QuillmateError &error) {
        qWarning("The key counter %ls cannot be advanced (%ls); the next key is found from the "
                 "contacts.",
                 qUtf16Printable(QDir::toNativeSeparators(error.file())),
                 qUtf16Printable(error.cause()));
    }
    return keys;
}

int AddressFile::chooseNewKey(bool missingCounterIsFirst) {
    const QString counterPath = path(NextKeyFileName);
    const bool counterExists = QFile::exists(counterPath);
    if (!counterExists && !missingCounterIsFirst)
        throw FileError(u"Cannot Read The File: It Does Not Exist"_s, counterPath);
    const QString first = counterExists ? ReadRecordFile(counterPath).value(0) : FirstNextKey;
    const std::optional<qint64> last = keyNumber(first);
    if (!last)
        throw ConversionError(u"'"_s + first + u"' Is Not A Valid Integer Value"_s, counterPath);

    // The counter may have been recreated (or edited) behind the file's back:
    // never hand out a key that a contact already has. (A key too large to
    // be issued can never be issued again either, so it is not in the way.)
    constexpr qint64 LargestKey = std::numeric_limits<int>::max();
    qint64 highest = *last;
    const QStringList lines = ReadRecordFile(path(AddressFileName));
    for (qsizetype i = 0; i < lines.size(); i += AddressFieldCount) {
        const std::optional<qint64> key = keyNumber(lines.at(i));
        if (key && *key < LargestKey)
            highest = qMax(highest, *key);
    }
    if (highest >= LargestKey)
        throw ConversionError(
            u"'"_s + QString::number(highest) + u"' Is Not A Valid Integer Value"_s, counterPath);

    const int key = static_cast<int>(highest + 1);
    AddressField(AddressFields, 1) = PadZeros(key, KeyWidth);
    return key;
}

void AddressFile::advanceKeyCounter(int key) {
    WriteRecordFile(path(NextKeyFileName), {PadZeros(key, KeyWidth)});
}

int AddressFile::IssueNewKey() {
    const int key = chooseNewKey();
    advanceKeyCounter(key);
    return key;
}

int AddressFile::SaveNewContact() {
    const int key = chooseNewKey();
    // The contact first: a counter that cannot follow is harmless, as a key
    // a contact has is never issued again. The other way round a full disk
    // would use up a key for a contact that was never saved.
    UpdateAddressFile(QString(), AddOperation);
    try {
        advanceKeyCounter(key);
    } catch (const QuillmateError &error) {
        // The contact is saved: reporting a failure now would have the user
        // save it a second time.
        qWarning("The key counter %ls cannot be advanced (%ls); the next key is found from the "
                 "contacts.",
                 qUtf16Printable(QDir::toNativeSeparators(error.file())),
                 qUtf16Printable(error.cause()));
    }
    return key;
}

int AddressFile::SaveEditedContact(int occurrence) {
    const QString key = AddressField(AddressFields, 1);
    UpdateAddressFile(key, EditOperation, occurrence);
    return TextToInt(key, 0);
}

} // namespace qm
