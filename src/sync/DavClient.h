#pragma once

#include "sync/SyncAccount.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class QNetworkAccessManager;

// Talking WebDAV (CalDAV, CardDAV) with a server, one request at a time, each
// waited for on the calling thread (a thread of its own in the program), so
// the steps of a sync read in order.
namespace qm {

struct DavReply {
    int status = 0; // the HTTP status; 0 when no answer came
    QByteArray body;
    QByteArray etag; // the ETag header, as sent
    QUrl url;        // where the request went last (after redirects)
    QString error;   // why no answer came, in words; empty with an answer
    bool cancelled = false;

    bool succeeded() const { return status >= 200 && status < 300; }
};

class DavClient {
public:
    DavClient(SyncCredentials credentials, std::function<bool()> cancelled);
    ~DavClient();
    DavClient(const DavClient &) = delete;
    DavClient &operator=(const DavClient &) = delete;

    // Sends one request and waits for the answer. Redirects are followed (up
    // to five, the same verb and body), the user and password sent only to the
    // server first asked. headers are name/value pairs.
    DavReply send(const QByteArray &verb, const QUrl &url, const QByteArray &body = {},
                  const QList<std::pair<QByteArray, QByteArray>> &headers = {});
    // PROPFIND or REPORT with an XML body and a Depth.
    DavReply xml(const QByteArray &verb, const QUrl &url, const QByteArray &body, int depth);

    qsizetype requests() const { return m_requests; }
    bool cancelled() const { return m_cancelled && m_cancelled(); }

private:
    SyncCredentials m_credentials;
    std::function<bool()> m_cancelled;
    std::unique_ptr<QNetworkAccessManager> m_network;
    qsizetype m_requests = 0;
};

// Why a request failed, for the user: the transport's error, or the server's
// status in words ("The Server Refused The User Name Or Password").
QString DavFailureText(const DavReply &reply);

// One <response> of a multistatus answer.
struct DavResponse {
    QString href;   // as sent (percent-encoded path or full URL)
    int status = 0; // the response's own status, or the found props' status
    // Found properties by local name ("getetag", "displayname", ...): their text.
    QHash<QString, QString> text;
    // The <href>s inside each found property (principal, home sets).
    QHash<QString, QStringList> hrefs;
    // The child element names of resourcetype, and the component names of
    // supported-calendar-component-set.
    QStringList resourceTypes;
    QStringList components;
};

struct DavMultistatus {
    QList<DavResponse> responses;
    QString syncToken;
    bool valid = false; // false when the body is no multistatus
};

DavMultistatus ParseMultistatus(const QByteArray &body);

} // namespace qm
