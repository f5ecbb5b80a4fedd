#include "sync/Discovery.h"

#include "sync/DavClient.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QByteArray PrincipalQuery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\"><D:prop>"
    "<D:current-user-principal/></D:prop></D:propfind>";

const QByteArray HomeQuery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\" "
    "xmlns:C=\"urn:ietf:params:xml:ns:caldav\" xmlns:CR=\"urn:ietf:params:xml:ns:carddav\">"
    "<D:prop><C:calendar-home-set/><CR:addressbook-home-set/></D:prop></D:propfind>";

const QByteArray CollectionQuery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\" "
    "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop><D:resourcetype/><D:displayname/>"
    "<C:supported-calendar-component-set/></D:prop></D:propfind>";

QString LastPart(const QUrl &url) {
    const QStringList parts = url.path().split(u'/', Qt::SkipEmptyParts);
    return parts.isEmpty() ? url.toString() : QUrl::fromPercentEncoding(parts.last().toUtf8());
}

} // namespace

DiscoveryResult DiscoverCollections(const QUrl &server, const SyncCredentials &credentials,
                                    const std::function<bool()> &cancelled) {
    DiscoveryResult result;
    DavClient client(credentials, cancelled);
    // The principal: asked of the well-known addresses first, then of the
    // address itself (a server that keeps them elsewhere, or the user's own
    // calendar address typed in).
    QUrl principal;
    DavReply failure;
    const QList<QUrl> tries = {server.resolved(QUrl(u"/.well-known/caldav"_s)),
                               server.resolved(QUrl(u"/.well-known/carddav"_s)), server};
    for (const QUrl &url : tries) {
        const DavReply reply = client.xml("PROPFIND", url, PrincipalQuery, 0);
        if (reply.cancelled || reply.status == 401 || reply.status == 0) {
            result.error = DavFailureText(reply);
            return result;
        }
        const DavMultistatus answer = ParseMultistatus(reply.body);
        for (const DavResponse &response : answer.responses) {
            const QStringList hrefs = response.hrefs.value(u"current-user-principal"_s);
            if (!hrefs.isEmpty()) {
                principal = reply.url.resolved(QUrl(hrefs.first()));
                break;
            }
        }
        if (principal.isValid())
            break;
        failure = reply;
    }
    if (!principal.isValid()) {
        result.error = failure.succeeded() ? u"The Server Does Not Say Where Your Calendars Are"_s
                                           : DavFailureText(failure);
        return result;
    }
    const DavReply homes = client.xml("PROPFIND", principal, HomeQuery, 0);
    if (!homes.succeeded()) {
        result.error = DavFailureText(homes);
        return result;
    }
    QList<QUrl> homeSets;
    for (const DavResponse &response : ParseMultistatus(homes.body).responses) {
        for (const QString &kind : {u"calendar-home-set"_s, u"addressbook-home-set"_s}) {
            for (const QString &href : response.hrefs.value(kind)) {
                const QUrl home = homes.url.resolved(QUrl(href));
                if (!homeSets.contains(home))
                    homeSets.append(home);
            }
        }
    }
    if (homeSets.isEmpty()) {
        result.error = u"The Server Has No Calendars Or Address Books For You"_s;
        return result;
    }
    for (const QUrl &home : homeSets) {
        const DavReply reply = client.xml("PROPFIND", home, CollectionQuery, 1);
        if (!reply.succeeded()) {
            result.error = DavFailureText(reply);
            return result;
        }
        for (const DavResponse &response : ParseMultistatus(reply.body).responses) {
            DavCollection collection;
            collection.url = reply.url.resolved(QUrl(response.href));
            const QString name = response.text.value(u"displayname"_s).trimmed();
            collection.name = name.isEmpty() ? LastPart(collection.url) : name;
            if (response.resourceTypes.contains(u"calendar"_s)) {
                // A calendar that names no components takes any.
                collection.events =
                    response.components.isEmpty() || response.components.contains(u"VEVENT"_s);
                collection.todos =
                    response.components.isEmpty() || response.components.contains(u"VTODO"_s);
                if ((collection.events || collection.todos) &&
                    !std::any_of(result.calendars.cbegin(), result.calendars.cend(),
                                 [&](const DavCollection &c) { return c.url == collection.url; }))
                    result.calendars.append(collection);
            } else if (response.resourceTypes.contains(u"addressbook"_s)) {
                if (!std::any_of(result.addressBooks.cbegin(), result.addressBooks.cend(),
                                 [&](const DavCollection &c) { return c.url == collection.url; }))
                    result.addressBooks.append(collection);
            }
        }
    }
    if (result.calendars.isEmpty() && result.addressBooks.isEmpty())
        result.error = u"The Server Has No Calendars Or Address Books For You"_s;
    return result;
}

} // namespace qm
