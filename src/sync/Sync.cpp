#include "sync/Sync.h"

#include "exchange/Calendar.h"
#include "exchange/Contacts.h"
#include "exchange/ImportPlan.h"
#include "foundation/AddressFile.h"
#include "foundation/Codec1252.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/SortedLines.h"
#include "foundation/Text.h"
#include "sync/DavClient.h"
#include "sync/SyncPatch.h"
#include "sync/SyncState.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace qm {

namespace SyncText {
const QString LocalOnlyChanges = u"Changes To Repeating Or Multi-Day Events Kept Here Only"_s;
const QString NotSent = u"Records That Could Not Be Sent"_s;
} // namespace SyncText

namespace {

constexpr QChar AppointmentTag = u'A';
constexpr QChar TaskTag = u'T';
constexpr QChar OccasionTag = u'O';
// More deletions than this on one side, or every item of a collection, are
// asked about first: a server that answers with an empty collection must
// never empty the record files.
constexpr qsizetype HandfulOfDeletions = 10;
constexpr qsizetype MultigetBatch = 200;
// Pairing an edited record with its item compares every vanished record with
// every new one; beyond this many comparisons they are taken as deleted and
// added, which gives the same result on both sides.
constexpr qsizetype MaxPairings = 2'000'000;

QString FailureIn(const QuillmateError &error) {
    const QString file = QFileInfo(error.file()).fileName();
    return file.isEmpty() ? error.cause() : error.cause() + u" ("_s + file + u')';
}

QString Normalised(const QUrl &base, const QString &href) {
    return base.resolved(QUrl(href)).path(QUrl::FullyDecoded);
}

QByteArray Quoted(const QString &etag) {
    return etag.toUtf8();
}

// One side's change of an item since the last sync.
struct RemoteChange {
    QString href;
    QString etag;
    bool removed = false;
    bool fetched = false;
    QByteArray body;
};

// The calendar's record lines by kind, with their kind in front.
QStringList Tagged(QChar tag, const QStringList &lines) {
    QStringList out;
    out.reserve(lines.size());
    for (const QString &line : lines)
        out.append(tag + line);
    return out;
}

QStringList ContactLines(const AddressRecord &record) {
    return QStringList(record.begin(), record.end());
}

AddressRecord ContactOf(const QStringList &lines) {
    AddressRecord record;
    for (int i = 0; i < AddressFieldCount && i < lines.size(); ++i)
        record[i] = lines.at(i);
    return record;
}

// How alike two tagged record lines are: the fields they share, counted only
// for lines of one kind sharing their date or their description (the first
// or the last field); 0 for any others.
int Similarity(const QString &a, const QString &b) {
    if (a.at(0) != b.at(0))
        return 0;
    const QStringList x = a.mid(1).split(FieldSeparator);
    const QStringList y = b.mid(1).split(FieldSeparator);
    if (x.first() != y.first() && x.last() != y.last())
        return 0;
    int same = 0;
    for (qsizetype i = 0; i < std::min(x.size(), y.size()); ++i)
        same += x.at(i) == y.at(i);
    return same;
}

QString NewUid(const QString &seed, int attempt) {
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(seed.toUtf8(), QCryptographicHash::Sha1).toHex());
    return attempt == 0 ? hash + u"@quillmate"_s
                        : hash + u'-' + QString::number(attempt + 1) + u"@quillmate"_s;
}

// Puts uid in place of the UID of a body the exchange code made (its first
// UID line: the calendar's time zone has none).
QByteArray WithUid(QByteArray body, const QString &uid) {
    const qsizetype at = body.startsWith("UID:") ? 0 : body.indexOf("\r\nUID:") + 2;
    if (at < 0 || (at == 1))
        return body;
    const qsizetype end = body.indexOf("\r\n", at);
    body.replace(at, end - at, "UID:" + uid.toUtf8());
    return body;
}

} // namespace

// Everything a sync decided and sent, waiting to be written into the record
// files and the state.
struct PreparedSync {
    SyncResult result;
    SyncState state; // the new state, with contact keys still to fill in
    bool calendarSynced = false;
    bool contactsSynced = false;
    // Calendar lines (tagged) to take out of the files (one of each) and to add.
    QStringList removeLines;
    QStringList addLines;
    // Contacts: by key, the fields the record had when read, and its new
    // fields (none: delete).
    struct ContactChange {
        QString key;
        AddressRecord expected;
        std::optional<AddressRecord> replacement;
        int item = -1; // the state item that takes the contact's key
    };
    QList<ContactChange> contactChanges;
    struct ContactAddition {
        AddressRecord record;
        int item = -1;
    };
    QList<ContactAddition> contactAdditions;
};

namespace {

// The work of one sync with the server.
class Syncer {
public:
    Syncer(const SyncAccount &account, const SyncCredentials &credentials, const QString &folder,
           const SyncHooks &hooks, const QTimeZone &zone, const QDate &today, PreparedSync &out)
        : m_account(account), m_folder(folder), m_hooks(hooks), m_zone(zone),
          m_now(QDateTime::currentDateTimeUtc()), m_out(out),
          m_client(credentials, hooks.cancelled) {
        m_window = DefaultImportWindow(today);
        m_window.repeatsOnly = true;
    }

    void run();

private:
    struct Failed {
        QString why;
    };

    void progress(const QString &text) {
        if (m_hooks.progress)
            m_hooks.progress(text);
    }
    [[noreturn]] void fail(const DavReply &reply) {
        if (reply.cancelled)
            throw Failed{};
        m_out.result.refused = reply.status == 401;
        throw Failed{DavFailureText(reply)};
    }
    void checkCancelled() {
        if (m_client.cancelled())
            throw Failed{};
    }

    QList<RemoteChange> listChanges(const QUrl &collection, SyncCollectionState &side);
    void fetch(const QUrl &collection, QList<RemoteChange *> wanted, bool calendar);
    DavReply get(const QUrl &collection, const QString &href);

    // Conversions of one item.
    QStringList calendarLines(const QByteArray &body);
    std::optional<AddressRecord> contactOf(const QByteArray &body);
    QByteArray calendarBody(const QString &tagged, const QString &uid);
    QByteArray contactBody(const AddressRecord &record, const QString &uid);

    void syncCalendar(SyncCollectionState &side);
    void syncContacts(SyncCollectionState &side);
    void confirmDeletions(qsizetype here, qsizetype there, qsizetype known);

    // Sends body as a new item; the item made, or none when the body could
    // not be made.
    std::optional<SyncItem> create(const QUrl &collection, const QString &seed,
                                   const std::function<QByteArray(const QString &)> &body,
                                   const std::function<bool(const QByteArray &)> &same,
                                   const QString &suffix);

    const SyncAccount &m_account;
    const QString m_folder;
    const SyncHooks &m_hooks;
    const QTimeZone m_zone;
    const QDateTime m_now;
    ImportWindow m_window;
    PreparedSync &m_out;
    DavClient m_client;
};

const QByteArray SyncQueryStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>";
const QByteArray SyncQueryEnd =
    "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop>"
    "</D:sync-collection>";
const QByteArray EtagQuery = "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind "
                             "xmlns:D=\"DAV:\"><D:prop><D:getetag/></D:prop></D:propfind>";

QList<RemoteChange> Syncer::listChanges(const QUrl &collection, SyncCollectionState &side) {
    QHash<QString, const SyncItem *> known;
    for (const SyncItem &item : std::as_const(side.items))
        known.insert(Normalised(collection, item.href), &item);
    const QString self = collection.path(QUrl::FullyDecoded);
    auto escaped = [](const QString &token) { return token.toHtmlEscaped().toUtf8(); };
    bool full = side.token.isEmpty();
    DavReply reply =
        m_client.xml("REPORT", collection, SyncQueryStart + escaped(side.token) + SyncQueryEnd, 1);
    if (!reply.succeeded() && !reply.cancelled && reply.status != 401 && reply.status != 0 &&
        !full) {
        // The token is no longer good (the server forgot it): everything.
        full = true;
        reply = m_client.xml("REPORT", collection, SyncQueryStart + SyncQueryEnd, 1);
    }
    DavMultistatus answer;
    if (reply.succeeded()) {
        answer = ParseMultistatus(reply.body);
    } else if (!reply.cancelled && reply.status != 401 && reply.status != 0 &&
               reply.status != 404) {
        // No sync-collection: the ETags of everything.
        full = true;
        reply = m_client.xml("PROPFIND", collection, EtagQuery, 1);
        if (!reply.succeeded())
            fail(reply);
        answer = ParseMultistatus(reply.body);
        answer.syncToken.clear();
    } else {
        fail(reply);
    }
    if (!answer.valid)
        throw Failed{u"The Server's Answer Could Not Be Read"_s};
    QList<RemoteChange> changes;
    QSet<QString> listed;
    for (const DavResponse &response : std::as_const(answer.responses)) {
        const QString key = Normalised(collection, response.href);
        if (key == self || key.endsWith(u'/'))
            continue;
        const SyncItem *item = known.value(key);
        if (response.status == 404) {
            if (item)
                changes.append({item->href, {}, true, false, {}});
            continue;
        }
        listed.insert(key);
        const QString etag = response.text.value(u"getetag"_s).trimmed();
        if (!item || item->etag != etag || etag.isEmpty())
            changes.append({response.href, etag, false, false, {}});
    }
    if (full) {
        for (auto it = known.cbegin(); it != known.cend(); ++it)
            if (!listed.contains(it.key()))
                changes.append({it.value()->href, {}, true, false, {}});
    }
    side.token = answer.syncToken;
    return changes;
}

void Syncer::fetch(const QUrl &collection, QList<RemoteChange *> wanted, bool calendar) {
    const QByteArray open =
        calendar ? "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:calendar-multiget "
                   "xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                   "<D:getetag/><C:calendar-data/></D:prop>"
                 : "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:addressbook-multiget "
                   "xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:prop>"
                   "<D:getetag/><C:address-data/></D:prop>";
    const QByteArray close = calendar ? "</C:calendar-multiget>" : "</C:addressbook-multiget>";
    const QString dataName = calendar ? u"calendar-data"_s : u"address-data"_s;
    for (qsizetype start = 0; start < wanted.size(); start += MultigetBatch) {
        checkCancelled();
        progress(u"Sync: Receiving "_s + QString::number(start + 1) + u" Of "_s +
                 QString::number(wanted.size()) + u"..."_s);
        QByteArray body = open;
        QHash<QString, RemoteChange *> byKey;
        for (qsizetype i = start; i < std::min(start + MultigetBatch, wanted.size()); ++i) {
            RemoteChange *change = wanted.at(i);
            byKey.insert(Normalised(collection, change->href), change);
            body += "<D:href>" + change->href.toHtmlEscaped().toUtf8() + "</D:href>";
        }
        body += close;
        const DavReply reply = m_client.xml("REPORT", collection, body, 1);
        if (!reply.succeeded())
            fail(reply);
        const DavMultistatus answer = ParseMultistatus(reply.body);
        if (!answer.valid)
            throw Failed{u"The Server's Answer Could Not Be Read"_s};
        for (const DavResponse &response : answer.responses) {
            RemoteChange *change = byKey.value(Normalised(collection, response.href));
            if (!change)
                continue;
            change->fetched = true;
            if (response.status == 404 || !response.text.contains(dataName)) {
                change->removed = true;
                continue;
            }
            change->body = response.text.value(dataName).toUtf8();
            const QString etag = response.text.value(u"getetag"_s).trimmed();
            if (!etag.isEmpty())
                change->etag = etag;
        }
        // What the answer left out is fetched on its own.
        for (RemoteChange *change : std::as_const(byKey)) {
            if (change->fetched)
                continue;
            const DavReply one = get(collection, change->href);
            change->fetched = true;
            change->removed = one.status == 404 || one.status == 410;
            change->body = one.body;
            change->etag = QString::fromUtf8(one.etag);
        }
    }
}

DavReply Syncer::get(const QUrl &collection, const QString &href) {
    const DavReply reply = m_client.send("GET", collection.resolved(QUrl(href)));
    if (!reply.succeeded() && reply.status != 404 && reply.status != 410)
        fail(reply);
    return reply;
}

QStringList Syncer::calendarLines(const QByteArray &body) {
    CalendarRead read = ReadCalendar(body, m_window, m_zone);
    m_out.result.notes.merge(read.notes);
    QStringList lines = Tagged(AppointmentTag, read.records.appointments);
    lines += Tagged(TaskTag, read.records.tasks);
    lines += Tagged(OccasionTag, read.records.occasions);
    return lines;
}

std::optional<AddressRecord> Syncer::contactOf(const QByteArray &body) {
    ContactsRead read = ReadContacts(body);
    m_out.result.notes.merge(read.notes);
    if (read.contacts.isEmpty())
        return std::nullopt;
    return read.contacts.first();
}

QByteArray Syncer::calendarBody(const QString &tagged, const QString &uid) {
    CalendarRecords records;
    const QString line = tagged.mid(1);
    if (tagged.startsWith(AppointmentTag))
        records.appointments.append(line);
    else if (tagged.startsWith(TaskTag))
        records.tasks.append(line);
    else
        records.occasions.append(line);
    const ExportResult result = ExportCalendar(records, {}, m_zone, m_now);
    if (result.appointments + result.tasks + result.occasions == 0)
        return {};
    return WithUid(result.bytes, uid);
}

QByteArray Syncer::contactBody(const AddressRecord &record, const QString &uid) {
    const ExportResult result = ExportContacts({record});
    if (result.contacts == 0)
        return {};
    return WithUid(result.bytes, uid);
}

std::optional<SyncItem> Syncer::create(const QUrl &collection, const QString &seed,
                                       const std::function<QByteArray(const QString &)> &body,
                                       const std::function<bool(const QByteArray &)> &same,
                                       const QString &suffix) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString uid = NewUid(seed, attempt);
        const QByteArray bytes = body(uid);
        if (bytes.isEmpty())
            return std::nullopt;
        const QUrl url = collection.resolved(QUrl(QString(uid).replace(u'@', u'-') + suffix));
        const QByteArray type =
            suffix == u".ics"_s ? "text/calendar; charset=utf-8" : "text/vcard; charset=utf-8";
        const DavReply reply =
            m_client.send("PUT", url, bytes, {{"Content-Type", type}, {"If-None-Match", "*"}});
        if (reply.succeeded())
            return SyncItem{url.path(QUrl::FullyEncoded), uid, QString::fromUtf8(reply.etag), {}};
        if (reply.status != 412)
            fail(reply);
        // Already there: sent by a sync that stopped before it was written
        // down, or by another client with the same record. The same content
        // is the same item; anything else gets another UID.
        const DavReply there = get(collection, url.path(QUrl::FullyEncoded));
        if (there.succeeded() && same(there.body))
            return SyncItem{url.path(QUrl::FullyEncoded), uid, QString::fromUtf8(there.etag), {}};
    }
    throw Failed{u"The Server Refused A New Item"_s};
}

void Syncer::confirmDeletions(qsizetype here, qsizetype there, qsizetype known) {
    auto ask = [&](qsizetype count, const QString &question) {
        if (count == 0)
            return;
        if (count <= HandfulOfDeletions && !(count == known && known >= 3))
            return;
        if (!m_hooks.confirm || !m_hooks.confirm(question))
            throw Failed{u"Stopped Before Deleting "_s + QString::number(count) +
                         u" Records: Nothing Was Changed"_s};
    };
    ask(here, u"The Server No Longer Has "_s + QString::number(here) +
                  u" Records Kept In Step With It.\r\rDelete Them Here Too?"_s);
    ask(there, QString::number(there) +
                   u" Records Were Deleted Here.\r\rDelete Them On The Server Too?"_s);
}

void Syncer::run() {
    SyncState old;
    try {
        old = ReadSyncState(ReadFileBytes(m_folder + SyncStateFileName));
    } catch (const QuillmateError &) {
        // No state yet (or none readable): a first sync, which pairs by content.
    }
    m_out.state = old;
    try {
        if (m_account.calendar.isValid() && !m_account.calendar.isEmpty()) {
            SyncCollectionState &side = m_out.state.calendar;
            if (side.url != m_account.calendar.toString())
                side = {m_account.calendar.toString(), {}, {}};
            syncCalendar(side);
            m_out.calendarSynced = true;
        }
        if (m_account.addressBook.isValid() && !m_account.addressBook.isEmpty()) {
            SyncCollectionState &side = m_out.state.contacts;
            if (side.url != m_account.addressBook.toString())
                side = {m_account.addressBook.toString(), {}, {}};
            syncContacts(side);
            m_out.contactsSynced = true;
        }
    } catch (const Failed &failed) {
        if (failed.why.isEmpty())
            m_out.result.cancelled = true;
        else
            m_out.result.error = failed.why;
    } catch (const QuillmateError &error) {
        m_out.result.error = FailureIn(error);
    }
    m_out.result.requests = m_client.requests();
}

// The calendar: appointments, tasks and occasions.
void Syncer::syncCalendar(SyncCollectionState &side) {
    const QUrl collection(side.url);
    progress(u"Sync: Reading The Calendar..."_s);
    QStringList current = Tagged(AppointmentTag, LoadLineFile(m_folder + DiaryFileName));
    current += Tagged(TaskTag, LoadLineFile(m_folder + TasksFileName));
    current += Tagged(OccasionTag, LoadLineFile(m_folder + BirthdayFileName));

    QList<RemoteChange> changes = listChanges(collection, side);
    QList<RemoteChange *> wanted;
    for (RemoteChange &change : changes)
        if (!change.removed)
            wanted.append(&change);
    fetch(collection, wanted, true);
    QHash<QString, RemoteChange *> changeOf;
    for (RemoteChange &change : changes)
        changeOf.insert(Normalised(collection, change.href), &change);

    // The local side: each item's lines found again in the files (equal
    // lines are taken one each), then an item whose one line is gone paired
    // with the most alike of the lines no item holds.
    QHash<QString, QList<int>> unclaimed; // line -> indexes into current, not yet held
    for (int i = int(current.size()) - 1; i >= 0; --i)
        unclaimed[current.at(i)].append(i);
    auto claim = [&](const QString &line) {
        auto it = unclaimed.find(line);
        if (it == unclaimed.end() || it->isEmpty())
            return false;
        it->removeLast();
        return true;
    };
    enum class Local { Unchanged, Updated, Deleted, Partial };
    struct Plan {
        Local local = Local::Unchanged;
        QString updated;
        QStringList kept;
    };
    QList<Plan> plans(side.items.size());
    QList<int> vanished;
    for (int i = 0; i < side.items.size(); ++i) {
        const SyncItem &item = side.items.at(i);
        for (const QString &line : item.lines) {
            if (claim(line))
                plans[i].kept.append(line);
        }
        if (plans[i].kept.size() == item.lines.size())
            continue;
        if (item.lines.size() == 1)
            vanished.append(i);
        else
            plans[i].local = plans[i].kept.isEmpty() ? Local::Deleted : Local::Partial;
    }
    QList<int> fresh; // indexes into current of lines no item holds
    for (auto it = unclaimed.cbegin(); it != unclaimed.cend(); ++it)
        fresh += it.value();
    std::sort(fresh.begin(), fresh.end());
    // Every vanished record against every new one of its kind; the most
    // alike pairs first (then the nearest), so the order items were kept in
    // never decides.
    struct Pairing {
        int score;
        int distance;
        int item;
        int index;
    };
    QList<Pairing> pairings;
    if (qsizetype(vanished.size()) * fresh.size() <= MaxPairings) {
        for (int i : std::as_const(vanished)) {
            const SyncItem &item = side.items.at(i);
            for (int index : std::as_const(fresh)) {
                const int score = Similarity(item.lines.first(), current.at(index));
                if (score > 0)
                    pairings.append(
                        {score, item.position < 0 ? 0 : std::abs(index - item.position), i, index});
            }
        }
    }
    std::sort(pairings.begin(), pairings.end(), [](const Pairing &a, const Pairing &b) {
        return std::tie(b.score, a.distance, a.item, a.index) <
               std::tie(a.score, b.distance, b.item, b.index);
    });
    QSet<int> paired, pairedItems;
    for (const Pairing &pairing : std::as_const(pairings)) {
        if (paired.contains(pairing.index) || pairedItems.contains(pairing.item))
            continue;
        paired.insert(pairing.index);
        pairedItems.insert(pairing.item);
        plans[pairing.item].local = Local::Updated;
        plans[pairing.item].updated = current.at(pairing.index);
        unclaimed[current.at(pairing.index)].removeOne(pairing.index);
    }
    for (int i : std::as_const(vanished))
        if (!pairedItems.contains(i))
            plans[i].local = Local::Deleted;

    // Lines the record files take from the server: held by a record that is
    // already there (a first sync, or one that stopped before it was written
    // down), else added.
    auto take = [&](const QStringList &lines) {
        for (const QString &line : lines)
            if (!claim(line))
                m_out.addLines.append(line);
    };
    auto drop = [&](const QStringList &lines) { m_out.removeLines += lines; };

    qsizetype deleteHere = 0, deleteThere = 0;
    for (int i = 0; i < side.items.size(); ++i) {
        const RemoteChange *change = changeOf.value(Normalised(collection, side.items.at(i).href));
        if (change && change->removed && !plans[i].kept.isEmpty())
            ++deleteHere;
        if (!change && plans[i].local == Local::Deleted)
            ++deleteThere;
    }
    confirmDeletions(deleteHere, deleteThere, side.items.size());

    SyncResult &result = m_out.result;
    QList<SyncItem> items;
    QStringList toCreate;
    auto sendNew = [&](const QString &line) { toCreate.append(line); };
    QSet<QString> seen;
    for (int i = 0; i < side.items.size(); ++i) {
        SyncItem item = side.items.at(i);
        const QString key = Normalised(collection, item.href);
        seen.insert(key);
        RemoteChange *change = changeOf.value(key);
        Plan &plan = plans[i];
        if (change && change->removed) {
            // Deleted on the server.
            if (plan.local == Local::Updated) {
                sendNew(plan.updated); // an edit here outlives it
                ++result.conflicts;
            } else {
                drop(plan.kept);
                result.receivedDeleted += !plan.kept.isEmpty();
            }
            continue;
        }
        QStringList remote;
        if (change) {
            remote = calendarLines(change->body);
            item.etag = change->etag;
            // Changed only in what the record files do not hold (a location
            // added): for the records, unchanged.
            if (remote == item.lines)
                change = nullptr;
        }
        if (change) {
            switch (plan.local) {
            case Local::Unchanged:
            case Local::Partial:
                drop(plan.kept);
                take(remote);
                ++result.receivedChanged;
                break;
            case Local::Updated:
                if (remote == QStringList{plan.updated})
                    break; // the same change on both sides
                take(remote);
                sendNew(plan.updated);
                ++result.conflicts;
                break;
            case Local::Deleted:
                take(remote); // an edit there outlives a deletion here
                ++result.conflicts;
                break;
            }
            item.lines = remote;
            items.append(item);
            continue;
        }
        switch (plan.local) {
        case Local::Unchanged:
            items.append(item);
            break;
        case Local::Partial:
            if (plan.kept.size() != item.lines.size())
                result.notes.add(SyncText::LocalOnlyChanges);
            item.lines = plan.kept;
            items.append(item);
            break;
        case Local::Updated: {
            checkCancelled();
            // Only what the record files hold is replaced on the server; the
            // rest of the item (a location, attendees...) is kept.
            const DavReply there = get(collection, item.href);
            if (there.status == 404 || there.status == 410) {
                sendNew(plan.updated);
                break;
            }
            const QString thereEtag = QString::fromUtf8(there.etag);
            const QByteArray ours = calendarBody(plan.updated, item.uid);
            if (ours.isEmpty()) {
                result.notes.add(SyncText::NotSent);
                items.append(item);
                break;
            }
            DavReply put;
            if (thereEtag == item.etag || thereEtag.isEmpty()) {
                put = m_client.send("PUT", collection.resolved(QUrl(item.href)),
                                    PatchCalendarItem(there.body, ours),
                                    {{"Content-Type", "text/calendar; charset=utf-8"},
                                     {"If-Match", Quoted(item.etag)}});
                if (put.succeeded()) {
                    item.etag = QString::fromUtf8(put.etag);
                    item.lines = {plan.updated};
                    items.append(item);
                    ++result.sentChanged;
                    break;
                }
                if (put.status != 412)
                    fail(put);
            }
            // Changed on the server meanwhile: both kept.
            const DavReply now = get(collection, item.href);
            remote = calendarLines(now.body);
            item.etag = QString::fromUtf8(now.etag);
            if (remote != QStringList{plan.updated}) {
                take(remote);
                sendNew(plan.updated);
                ++result.conflicts;
            }
            item.lines = remote;
            items.append(item);
            break;
        }
        case Local::Deleted: {
            checkCancelled();
            const DavReply reply = m_client.send("DELETE", collection.resolved(QUrl(item.href)), {},
                                                 {{"If-Match", Quoted(item.etag)}});
            if (reply.succeeded() || reply.status == 404 || reply.status == 410) {
                ++result.sentDeleted;
                break;
            }
            if (reply.status != 412)
                fail(reply);
            const DavReply now = get(collection, item.href);
            if (now.succeeded()) {
                item.lines = calendarLines(now.body);
                item.etag = QString::fromUtf8(now.etag);
                take(item.lines);
                items.append(item);
                ++result.conflicts;
            }
            break;
        }
        }
    }
    // New on the server.
    for (RemoteChange &change : changes) {
        const QString key = Normalised(collection, change.href);
        if (change.removed || seen.contains(key))
            continue;
        SyncItem item;
        item.href = change.href;
        item.etag = change.etag;
        item.lines = calendarLines(change.body);
        const qsizetype before = m_out.addLines.size();
        take(item.lines);
        result.receivedAdded += m_out.addLines.size() > before;
        items.append(item);
    }
    // New here, in the order of the files.
    QList<int> remaining;
    for (auto it = unclaimed.cbegin(); it != unclaimed.cend(); ++it)
        remaining += it.value();
    std::sort(remaining.begin(), remaining.end());
    for (int index : std::as_const(remaining))
        toCreate.append(current.at(index));
    QHash<QString, int> copies;
    for (qsizetype n = 0; n < toCreate.size(); ++n) {
        checkCancelled();
        if (n % 50 == 0)
            progress(u"Sync: Sending "_s + QString::number(n + 1) + u" Of "_s +
                     QString::number(toCreate.size()) + u"..."_s);
        const QString &line = toCreate.at(n);
        const int copy = copies[line]++;
        const QString seed = copy == 0 ? line : line + QChar(0x1F) + QString::number(copy);
        auto made = create(
            collection, seed, [&](const QString &uid) { return calendarBody(line, uid); },
            [&](const QByteArray &body) {
                ImportNotes quiet;
                std::swap(quiet, m_out.result.notes);
                const bool same = calendarLines(body) == QStringList{line};
                std::swap(quiet, m_out.result.notes);
                return same;
            },
            u".ics"_s);
        if (!made) {
            result.notes.add(SyncText::NotSent);
            continue;
        }
        made->lines = {line};
        items.append(*made);
        ++result.sentAdded;
    }
    side.items = items;
}

void Syncer::syncContacts(SyncCollectionState &side) {
    const QUrl collection(side.url);
    progress(u"Sync: Reading The Address Book..."_s);
    const QList<AddressRecord> current = ReadWholeAddressRecords(m_folder + AddressFileName);
    QList<RemoteChange> changes = listChanges(collection, side);
    QList<RemoteChange *> wanted;
    for (RemoteChange &change : changes)
        if (!change.removed)
            wanted.append(&change);
    fetch(collection, wanted, false);
    QHash<QString, RemoteChange *> changeOf;
    for (RemoteChange &change : changes)
        changeOf.insert(Normalised(collection, change.href), &change);

    QHash<QString, int> byKey; // the first record of each key
    for (int i = int(current.size()) - 1; i >= 0; --i)
        byKey.insert(AddressField(current.at(i), 1), i);
    QSet<int> held;
    for (const SyncItem &item : std::as_const(side.items))
        if (!item.lines.isEmpty() && byKey.contains(item.lines.first()))
            held.insert(byKey.value(item.lines.first()));
    // Contacts no item holds, by their fields, to pair with the server's.
    QHash<QString, QList<int>> unheld;
    for (int i = int(current.size()) - 1; i >= 0; --i)
        if (!held.contains(i))
            unheld[ContactIdentity(current.at(i))].append(i);

    SyncResult &result = m_out.result;
    QList<SyncItem> items;
    QList<AddressRecord> toCreate;
    auto take = [&](const AddressRecord &record, int itemIndex) {
        // A contact already here with the same fields is the same contact.
        auto it = unheld.find(ContactIdentity(record));
        if (it != unheld.end() && !it->isEmpty()) {
            const int index = it->takeLast();
            held.insert(index);
            items[itemIndex].lines = ContactLines(current.at(index));
            return false;
        }
        m_out.contactAdditions.append({record, itemIndex});
        return true;
    };
    auto localOf = [&](const SyncItem &item) -> const AddressRecord * {
        if (item.lines.isEmpty() || !byKey.contains(item.lines.first()))
            return nullptr;
        return &current.at(byKey.value(item.lines.first()));
    };

    qsizetype deleteHere = 0, deleteThere = 0;
    for (const SyncItem &item : std::as_const(side.items)) {
        const RemoteChange *change = changeOf.value(Normalised(collection, item.href));
        if (item.lines.isEmpty())
            continue;
        if (change && change->removed && localOf(item))
            ++deleteHere;
        if (!change && !localOf(item))
            ++deleteThere;
    }
    confirmDeletions(deleteHere, deleteThere, side.items.size());

    QSet<QString> seen;
    for (SyncItem item : side.items) {
        const QString key = Normalised(collection, item.href);
        seen.insert(key);
        RemoteChange *change = changeOf.value(key);
        const AddressRecord *local = localOf(item);
        const bool wasHeld = !item.lines.isEmpty();
        const bool changedHere = wasHeld && (!local || ContactLines(*local) != item.lines);
        if (change && change->removed) {
            if (local && changedHere) {
                toCreate.append(*local);
                ++result.conflicts;
            } else if (local) {
                m_out.contactChanges.append({AddressField(*local, 1), *local, std::nullopt});
                ++result.receivedDeleted;
            }
            continue;
        }
        std::optional<AddressRecord> remote;
        if (change) {
            remote = contactOf(change->body);
            item.etag = change->etag;
            if (remote && wasHeld &&
                ContactIdentity(*remote) == ContactIdentity(ContactOf(item.lines)))
                change = nullptr;
        }
        if (change) {
            items.append(item);
            const int index = int(items.size()) - 1;
            if (!remote) {
                items[index].lines.clear();
                continue;
            }
            if (local && !changedHere) {
                AddressRecord replacement = *remote;
                AddressField(replacement, 1) = AddressField(*local, 1);
                m_out.contactChanges.append({AddressField(*local, 1), *local, replacement, index});
                items[index].lines = ContactLines(replacement);
                ++result.receivedChanged;
            } else if (local && ContactIdentity(*local) == ContactIdentity(*remote)) {
                items[index].lines = ContactLines(*local); // the same change on both sides
            } else {
                items[index].lines.clear();
                take(*remote, index);
                if (local)
                    toCreate.append(*local);
                if (wasHeld)
                    ++result.conflicts;
            }
            continue;
        }
        if (!wasHeld || !changedHere) {
            items.append(item);
            continue;
        }
        checkCancelled();
        if (local) {
            const DavReply there = get(collection, item.href);
            if (there.status == 404 || there.status == 410) {
                toCreate.append(*local);
                continue;
            }
            const QString thereEtag = QString::fromUtf8(there.etag);
            DavReply put;
            if (thereEtag == item.etag || thereEtag.isEmpty()) {
                put = m_client.send("PUT", collection.resolved(QUrl(item.href)),
                                    PatchContactItem(there.body, contactBody(*local, item.uid)),
                                    {{"Content-Type", "text/vcard; charset=utf-8"},
                                     {"If-Match", Quoted(item.etag)}});
                if (put.succeeded()) {
                    item.etag = QString::fromUtf8(put.etag);
                    item.lines = ContactLines(*local);
                    items.append(item);
                    ++result.sentChanged;
                    continue;
                }
                if (put.status != 412)
                    fail(put);
            }
            const DavReply now = get(collection, item.href);
            remote = contactOf(now.body);
            item.etag = QString::fromUtf8(now.etag);
            item.lines.clear();
            items.append(item);
            if (remote && ContactIdentity(*remote) == ContactIdentity(*local)) {
                items.last().lines = ContactLines(*local);
            } else {
                if (remote)
                    take(*remote, int(items.size()) - 1);
                toCreate.append(*local);
                ++result.conflicts;
            }
            continue;
        }
        const DavReply reply = m_client.send("DELETE", collection.resolved(QUrl(item.href)), {},
                                             {{"If-Match", Quoted(item.etag)}});
        if (reply.succeeded() || reply.status == 404 || reply.status == 410) {
            ++result.sentDeleted;
            continue;
        }
        if (reply.status != 412)
            fail(reply);
        const DavReply now = get(collection, item.href);
        item.etag = QString::fromUtf8(now.etag);
        item.lines.clear();
        items.append(item);
        if ((remote = contactOf(now.body))) {
            take(*remote, int(items.size()) - 1);
            ++result.conflicts;
        }
    }
    for (RemoteChange &change : changes) {
        const QString key = Normalised(collection, change.href);
        if (change.removed || seen.contains(key))
            continue;
        SyncItem item;
        item.href = change.href;
        item.etag = change.etag;
        items.append(item);
        if (const auto remote = contactOf(change.body))
            result.receivedAdded += take(*remote, int(items.size()) - 1);
    }
    for (auto it = unheld.cbegin(); it != unheld.cend(); ++it)
        for (int index : it.value())
            if (!held.contains(index))
                toCreate.append(current.at(index));
    for (qsizetype n = 0; n < toCreate.size(); ++n) {
        checkCancelled();
        if (n % 50 == 0)
            progress(u"Sync: Sending Contact "_s + QString::number(n + 1) + u" Of "_s +
                     QString::number(toCreate.size()) + u"..."_s);
        const AddressRecord &record = toCreate.at(n);
        auto made = create(
            collection, ContactIdentity(record) + AddressField(record, 1),
            [&](const QString &uid) { return contactBody(record, uid); },
            [&](const QByteArray &body) {
                ImportNotes quiet;
                std::swap(quiet, m_out.result.notes);
                const auto remote = contactOf(body);
                std::swap(quiet, m_out.result.notes);
                return remote && ContactIdentity(*remote) == ContactIdentity(record);
            },
            u".vcf"_s);
        if (!made) {
            result.notes.add(SyncText::NotSent);
            continue;
        }
        made->lines = ContactLines(record);
        items.append(*made);
        ++result.sentAdded;
    }
    side.items = items;
}

} // namespace

QString SyncResultText(const SyncResult &result) {
    if (result.cancelled)
        return u"Sync Cancelled: Nothing Was Changed Here"_s;
    if (!result.error.isEmpty())
        return u"Sync Failed: "_s + result.error;
    const qsizetype sent = result.sentAdded + result.sentChanged + result.sentDeleted;
    const qsizetype received =
        result.receivedAdded + result.receivedChanged + result.receivedDeleted;
    if (sent == 0 && received == 0 && result.conflicts == 0)
        return result.notes.isEmpty()
                   ? u"Synced: Nothing Had Changed"_s
                   : u"Synced: Nothing Had Changed ("_s + QString::number(result.notes.total()) +
                         u" Items Not Taken Or Changed)"_s;
    QStringList parts;
    parts.append(QString::number(sent) + u" Sent"_s);
    parts.append(QString::number(received) + u" Received"_s);
    if (result.conflicts > 0)
        parts.append(CountedText(result.conflicts, u"Conflict"_s, u"Conflicts"_s) +
                     u" (Both Versions Kept)"_s);
    if (!result.notes.isEmpty())
        parts.append(QString::number(result.notes.total()) + u" Items Not Taken Or Changed"_s);
    return u"Synced: "_s + parts.join(u", "_s);
}

std::shared_ptr<PreparedSync> PrepareSync(const SyncAccount &account,
                                          const SyncCredentials &credentials, const QString &folder,
                                          const SyncHooks &hooks, const QTimeZone &zone,
                                          const QDate &today) {
    auto prepared = std::make_shared<PreparedSync>();
    Syncer(account, credentials, folder, hooks, zone, today, *prepared).run();
    return prepared;
}

namespace {

// Takes one of each line of remove out of lines and adds add; whether
// anything changed.
bool ApplyLines(QStringList &lines, const QStringList &remove, const QStringList &add) {
    bool changed = false;
    for (const QString &line : remove)
        changed = lines.removeOne(line) || changed;
    lines += add;
    return changed || !add.isEmpty();
}

} // namespace

SyncResult FinishSync(PreparedSync &prepared, const QString &folder) {
    SyncResult result = prepared.result;
    if (!result.ok())
        return result;
    try {
        if (prepared.calendarSynced) {
            struct File {
                QChar tag;
                QString name;
                bool sorted;
            };
            const File files[] = {{AppointmentTag, DiaryFileName, true},
                                  {TaskTag, TasksFileName, false},
                                  {OccasionTag, BirthdayFileName, true}};
            QHash<QString, int> positions;
            for (const File &file : files) {
                QStringList remove, add;
                for (const QString &line : std::as_const(prepared.removeLines))
                    if (line.at(0) == file.tag)
                        remove.append(line.mid(1));
                for (const QString &line : std::as_const(prepared.addLines))
                    if (line.at(0) == file.tag)
                        add.append(line.mid(1));
                QStringList lines = LoadLineFile(folder + file.name);
                if (ApplyLines(lines, remove, add)) {
                    if (file.sorted)
                        SortLines(lines);
                    SaveLineFile(folder + file.name, lines);
                }
                for (int i = int(lines.size()) - 1; i >= 0; --i)
                    positions.insert(file.tag + lines.at(i), i);
            }
            for (SyncItem &item : prepared.state.calendar.items)
                item.position =
                    item.lines.size() == 1 ? positions.value(item.lines.first(), -1) : -1;
        }
        if (prepared.contactsSynced &&
            (!prepared.contactChanges.isEmpty() || !prepared.contactAdditions.isEmpty())) {
            AddressFile book(folder);
            QHash<QString, const PreparedSync::ContactChange *> changes;
            for (const auto &change : std::as_const(prepared.contactChanges))
                changes.insert(change.key, &change);
            QList<PreparedSync::ContactAddition> additions = prepared.contactAdditions;
            // A contact edited here while the sync ran keeps its edit; the
            // server's version is then added beside it.
            const QList<AddressRecord> now = ReadWholeAddressRecords(folder + AddressFileName);
            QSet<QString> stale;
            for (const AddressRecord &record : now) {
                const auto *change = changes.value(AddressField(record, 1));
                if (change && record != change->expected) {
                    stale.insert(change->key);
                    if (change->replacement)
                        additions.append({*change->replacement, change->item});
                }
            }
            QList<AddressRecord> added;
            for (const auto &addition : std::as_const(additions))
                added.append(addition.record);
            QSet<QString> done;
            const QList<int> keys = book.SaveContactChanges(
                [&](AddressRecord &record) {
                    const QString key = AddressField(record, 1);
                    const auto *change = changes.value(key);
                    if (!change || stale.contains(key) || done.contains(key))
                        return true;
                    done.insert(key);
                    if (!change->replacement)
                        return false;
                    record = *change->replacement;
                    return true;
                },
                added);
            for (qsizetype i = 0; i < additions.size(); ++i) {
                const int index = additions.at(i).item;
                if (index < 0 || index >= prepared.state.contacts.items.size())
                    continue;
                AddressRecord record = additions.at(i).record;
                AddressField(record, 1) = PadZeros(keys.at(i), KeyWidth);
                prepared.state.contacts.items[index].lines = ContactLines(record);
            }
        }
    } catch (const QuillmateError &error) {
        result.error = FailureIn(error);
        return result;
    }
    // Written after the record files: a sync stopped between the two finds
    // the records already there next time and pairs them by content.
    try {
        ReplaceFileAtomically(folder + SyncStateFileName, WriteSyncState(prepared.state));
    } catch (const QuillmateError &error) {
        result.error = FailureIn(error);
    }
    return result;
}

SyncResult SyncDataFolder(const SyncAccount &account, const SyncCredentials &credentials,
                          const QString &folder, const SyncHooks &hooks, const QTimeZone &zone,
                          const QDate &today) {
    return FinishSync(*PrepareSync(account, credentials, folder, hooks, zone, today), folder);
}

} // namespace qm
