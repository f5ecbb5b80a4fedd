#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The address book's file: 17 lines per contact, one field per line, rewritten
// through the work file "Temp.Qmt"; and the key counter "NextKey.Qmt".
namespace qm {

inline const QString AddressFileName = QStringLiteral("Address.Qmt");
inline const QString AddressWorkFileName = QStringLiteral("Temp.Qmt");
inline const QString NextKeyFileName = QStringLiteral("NextKey.Qmt");
// What "NextKey.Qmt" holds when it is created: the first contact gets 301.
inline const QString FirstNextKey = QStringLiteral("300");

inline const QString AddOperation = QStringLiteral("ADD");
inline const QString EditOperation = QStringLiteral("EDIT");
inline const QString DeleteOperation = QStringLiteral("DELETE");

inline constexpr int AddressFieldCount = 17;
inline constexpr int KeyWidth = 3;

// One contact as stored, in file order. Fields are numbered 1 to 17 (field 1
// is the key); field n is element n - 1. Use AddressField() for 1-based access.
using AddressRecord = std::array<QString, AddressFieldCount>;

inline QString &AddressField(AddressRecord &record, int number) {
    return record[number - 1];
}
inline const QString &AddressField(const AddressRecord &record, int number) {
    return record[number - 1];
}

// Cuts lines into records of 17; a partial last record is completed with
// empty fields.
QList<AddressRecord> SplitAddressRecords(const QStringList &lines);
// The records of the file at path; a missing file has none.
QList<AddressRecord> ReadAddressRecords(const QString &path);
// The same without a partial last record: only records of all 17 lines,
// the ones a user can see and choose.
QList<AddressRecord> ReadWholeAddressRecords(const QString &path);
// The same with only the fields numbered in fields read; the others stay
// empty. A list of many contacts needs a few fields of each, and every field
// read is a text made.
QList<AddressRecord> ReadWholeAddressRecords(const QString &path, const QList<int> &fields);
// The same from the file's bytes.
QList<AddressRecord> WholeAddressRecords(const QByteArray &bytes, const QList<int> &fields);

// The records a view of the address file shows, kept between reads: the file
// is read each time, but decoded again only when its bytes changed, by this
// program or any other.
class AddressViewRecords {
public:
    // As ReadWholeAddressRecords(path, fields); raises the same errors.
    const QList<AddressRecord> &read(const QString &path, const QList<int> &fields);
    // Goes up each time the records are decoded afresh: what was made of
    // them at the same generation is still good.
    int generation() const { return m_generation; }

private:
    bool m_read = false;
    int m_generation = 0;
    QString m_path;
    QList<int> m_fields;
    QByteArray m_bytes;
    QList<AddressRecord> m_records;
};

// Copies the bytes of source to destination. The copy is written beside the
// destination and renamed over it, so a failed copy leaves the destination's
// old content whole. Raises FileError with the cause "COPY FILE - Problem
// With Source File" or "COPY FILE - Problem With Destination File".
void CopyDataFile(const QString &source, const QString &destination);

inline const QString CopySourceProblem = QStringLiteral("COPY FILE - Problem With Source File");
inline const QString CopyDestinationProblem =
    QStringLiteral("COPY FILE - Problem With Destination File");

// The address file of a data folder with the state shared by the address view
// and the contact editor: the record buffer AddressFields and the record
// count AddressCount.
class AddressFile {
public:
    // Works in the data folder of the installed services, as it is when each
    // call is made.
    AddressFile() = default;
    // Works in folder (ending in a separator, or empty for the current folder).
    explicit AddressFile(QString folder);

    // The record being added or edited.
    AddressRecord AddressFields;
    // The number of records in the file, as the address view last counted
    // them; kept in step by UpdateAddressFile.
    int AddressCount = 0;

    // Rewrites "Address.Qmt" through "Temp.Qmt". operation is "ADD", "EDIT"
    // or "DELETE". For "ADD" and "EDIT" AddressFields is written first; then
    // the file's records in their order, leaving out for "EDIT" and "DELETE"
    // every record whose key (field 1) is exactly key; or, when occurrence
    // is 0 or more, only that one of them (0 the first in the file), so one
    // of two records that an older version gave the same key can be changed
    // without losing the other. Lines after the last whole record are kept
    // as they are. When nothing remains "Address.Qmt" is deleted.
    // AddressCount goes up by one for "ADD" and down by one for "DELETE" once
    // the file is written. Raises FileError (naming "Address.Qmt", whatever
    // step failed) or ConversionError with "Address.Qmt" as it was;
    // std::invalid_argument for another operation. A new "Address.Qmt" is
    // readable by its owner only; a replaced one keeps its permissions.
    void UpdateAddressFile(const QString &key, const QString &operation, int occurrence = -1);

    // Issues the key for a new contact: one above the larger of the number in
    // "NextKey.Qmt" and the highest key in "Address.Qmt", so a key in use is
    // never issued again. Rewrites "NextKey.Qmt" with it and puts it in field
    // 1 of AddressFields (PadZeros(key, 3)); returns it. A missing
    // "NextKey.Qmt" raises FileError, one whose first line is not a key
    // ConversionError; nothing is changed then.
    int IssueNewKey();

    // The contact editor's save: a new contact gets a new key and is added;
    // an edited one replaces the record of its key (field 1), the
    // occurrence-th of those sharing it (every one for -1). Each returns the
    // contact's key as a number (0 when field 1 is not a number).
    // A new contact is written to "Address.Qmt" before "NextKey.Qmt" is
    // advanced; a counter that cannot be advanced after the contact is saved
    // is noted on standard error and is no failure of the save.
    int SaveNewContact();
    int SaveEditedContact(int occurrence = -1);
    // Adds many contacts in one rewrite of "Address.Qmt" (an import): each
    // gets its key in turn from the one SaveNewContact would give, and they
    // come first in the file in the order given. The counter is advanced once,
    // after the file is written, as SaveNewContact does; a missing counter (a
    // data folder the program has not set up yet) counts as the first. Returns
    // the keys given. Raises as UpdateAddressFile; nothing is written then.
    QList<int> SaveNewContacts(QList<AddressRecord> records);
    // Changes many contacts in one rewrite (a sync): each whole record of the
    // file is passed to change, which may alter its fields 2 to 17 or return
    // false to leave it out; added are then put first, with keys issued as
    // SaveNewContacts issues them. Lines after the last whole record are kept.
    // Returns the keys given to added. Raises as UpdateAddressFile; nothing is
    // written then.
    QList<int> SaveContactChanges(const std::function<bool(AddressRecord &)> &change,
                                  QList<AddressRecord> added);

    QList<AddressRecord> ReadRecords() const;
    // The full path of a file of this address file's folder.
    QString path(const QString &fileName) const;

private:
    // IssueNewKey without rewriting "NextKey.Qmt". With missingCounterIsFirst
    // a missing counter counts as FirstNextKey instead of failing.
    int chooseNewKey(bool missingCounterIsFirst = false);
    // Replaces "Address.Qmt" with bytes through "Temp.Qmt"; empty bytes
    // delete it.
    void replaceAddressFile(const QByteArray &bytes);
    void advanceKeyCounter(int key);

    QString m_folder;
    bool m_ownFolder = false;
};

} // namespace qm
