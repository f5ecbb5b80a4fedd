#include "sync/SyncState.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QByteArray Heading = "Quillmate Sync State 1";

QString Escape(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\"_s;
            break;
        case '\t':
            out += u"\\t"_s;
            break;
        case '\n':
            out += u"\\n"_s;
            break;
        case '\r':
            out += u"\\r"_s;
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString Unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            c = next == u't'   ? QChar(u'\t')
                : next == u'n' ? QChar(u'\n')
                : next == u'r' ? QChar(u'\r')
                               : next;
        }
        out += c;
    }
    return out;
}

void WriteCollection(QByteArray &out, const char *name, const SyncCollectionState &collection) {
    out += "Collection\t" + QByteArray(name) + '\t' + Escape(collection.url).toUtf8() + '\t' +
           Escape(collection.token).toUtf8() + '\n';
    for (const SyncItem &item : collection.items) {
        out += "Item\t" + Escape(item.href).toUtf8() + '\t' + Escape(item.uid).toUtf8() + '\t' +
               Escape(item.etag).toUtf8() + '\t' + QByteArray::number(item.position) + '\t' +
               QByteArray::number(item.lines.size()) + '\n';
        for (const QString &line : item.lines)
            out += '\t' + Escape(line).toUtf8() + '\n';
    }
}

} // namespace

QByteArray WriteSyncState(const SyncState &state) {
    QByteArray out = Heading + '\n';
    WriteCollection(out, "calendar", state.calendar);
    WriteCollection(out, "contacts", state.contacts);
    out += "End\n";
    return out;
}

SyncState ReadSyncState(const QByteArray &bytes) {
    const QList<QByteArray> rows = bytes.split('\n');
    // A file cut short (or of another version) is not trusted in part.
    if (rows.isEmpty() || rows.first() != Heading || !rows.contains("End"))
        return {};
    SyncState state;
    SyncCollectionState *collection = nullptr;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QString row = QString::fromUtf8(rows.at(i));
        const QStringList fields = row.split(u'\t');
        if (fields.first() == u"End"_s)
            return state;
        if (fields.first() == u"Collection"_s && fields.size() == 4) {
            collection = fields.at(1) == u"calendar"_s   ? &state.calendar
                         : fields.at(1) == u"contacts"_s ? &state.contacts
                                                         : nullptr;
            if (!collection)
                return {};
            collection->url = Unescape(fields.at(2));
            collection->token = Unescape(fields.at(3));
        } else if (fields.first() == u"Item"_s && fields.size() == 6 && collection) {
            SyncItem item;
            item.href = Unescape(fields.at(1));
            item.uid = Unescape(fields.at(2));
            item.etag = Unescape(fields.at(3));
            item.position = fields.at(4).toInt();
            const int count = fields.at(5).toInt();
            if (count < 0 || i + count >= rows.size())
                return {};
            for (int n = 0; n < count; ++n) {
                const QByteArray &line = rows.at(++i);
                if (!line.startsWith('\t'))
                    return {};
                item.lines.append(Unescape(QString::fromUtf8(line.mid(1))));
            }
            collection->items.append(item);
        } else {
            return {};
        }
    }
    return {};
}

} // namespace qm
