#include "sync/DavClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int MaxRedirects = 5;
constexpr int TransferTimeoutMs = 60000;

bool SameServer(const QUrl &a, const QUrl &b) {
    return a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == u"https"_s ? 443 : 80) ==
               b.port(b.scheme() == u"https"_s ? 443 : 80);
}

} // namespace

DavClient::DavClient(SyncCredentials credentials, std::function<bool()> cancelled)
    : m_credentials(std::move(credentials)), m_cancelled(std::move(cancelled)),
      m_network(std::make_unique<QNetworkAccessManager>()) {
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

DavClient::~DavClient() = default;

DavReply DavClient::send(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                         const QList<std::pair<QByteArray, QByteArray>> &headers) {
    DavReply result;
    const QUrl first = url;
    QUrl target = url;
    for (int hop = 0; hop <= MaxRedirects; ++hop) {
        if (cancelled()) {
            result.cancelled = true;
            result.error = u"Cancelled"_s;
            return result;
        }
        QNetworkRequest request(target);
        request.setTransferTimeout(TransferTimeoutMs);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        // Sent with the first request, never in answer to a challenge: a
        // wrong password is then one refusal, not a round of retries.
        if (SameServer(target, first) && target.scheme() == first.scheme())
            request.setRawHeader(
                "Authorization",
                "Basic " +
                    (m_credentials.user + u':' + m_credentials.password).toUtf8().toBase64());
        for (const auto &[name, value] : headers)
            request.setRawHeader(name, value);
        if (!m_credentials.trusted.isEmpty()) {
            QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
            ssl.addCaCertificates(m_credentials.trusted);
            request.setSslConfiguration(ssl);
        }
        ++m_requests;
        QNetworkReply *reply = m_network->sendCustomRequest(request, verb, body);
        QStringList sslProblems;
        QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                         [&sslProblems](const QList<QSslError> &errors) {
                             for (const QSslError &error : errors)
                                 sslProblems.append(error.errorString());
                         });
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, reply, [this, reply] {
            if (cancelled())
                reply->abort();
        });
        poll.start(50);
        if (!reply->isFinished())
            loop.exec();
        result = {};
        result.url = target;
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        result.etag = reply->rawHeader("ETag");
        if (result.status == 0) {
            if (cancelled()) {
                result.cancelled = true;
                result.error = u"Cancelled"_s;
            } else if (!sslProblems.isEmpty()) {
                result.error =
                    u"The Server's Certificate Is Not Trusted: "_s + sslProblems.join(u"; "_s);
            } else {
                result.error = reply->errorString();
            }
        }
        const QUrl redirect = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        reply->deleteLater();
        if (result.status >= 300 && result.status < 400 && redirect.isValid()) {
            const QUrl next = target.resolved(redirect);
            // Never from HTTPS down to HTTP.
            if (target.scheme() == u"https"_s && next.scheme() != u"https"_s)
                return result;
            target = next;
            target.setUserInfo({});
            continue;
        }
        return result;
    }
    return result;
}

DavReply DavClient::xml(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                        int depth) {
    return send(
        verb, url, body,
        {{"Content-Type", "application/xml; charset=utf-8"}, {"Depth", QByteArray::number(depth)}});
}

QString DavFailureText(const DavReply &reply) {
    if (reply.status == 0)
        return reply.error.isEmpty() ? u"No Answer From The Server"_s : reply.error;
    switch (reply.status) {
    case 401:
        return u"The Server Refused The User Name Or Password"_s;
    case 403:
        return u"The Server Refused Access (403)"_s;
    case 404:
        return u"The Server Has No Such Calendar Or Address Book (404)"_s;
    case 507:
        return u"The Server Has No Room Left (507)"_s;
    default:
        return u"The Server Answered "_s + QString::number(reply.status);
    }
}

DavMultistatus ParseMultistatus(const QByteArray &body) {
    DavMultistatus result;
    QXmlStreamReader xml(body);
    auto readStatus = [](const QString &line) {
        // "HTTP/1.1 200 OK"
        const QStringList parts = line.simplified().split(u' ');
        return parts.size() >= 2 ? parts.at(1).toInt() : 0;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == u"multistatus"_s) {
            result.valid = true;
        } else if (name == u"sync-token"_s && xml.namespaceUri() == u"DAV:"_s) {
            result.syncToken =
                xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"response"_s) {
            DavResponse response;
            int depth = 1;
            int propstatStatus = 0;
            DavResponse found; // the props of the propstat under way
            while (depth > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement()) {
                    --depth;
                    if (xml.name() == u"propstat"_s) {
                        if (propstatStatus >= 200 && propstatStatus < 300) {
                            response.text.insert(found.text);
                            response.hrefs.insert(found.hrefs);
                            response.resourceTypes += found.resourceTypes;
                            response.components += found.components;
                            if (response.status == 0)
                                response.status = propstatStatus;
                        }
                        found = {};
                        propstatStatus = 0;
                    }
                    continue;
                }
                if (!xml.isStartElement())
                    continue;
                ++depth;
                const QString element = xml.name().toString();
                if (depth == 2 && element == u"href"_s) {
                    response.href = xml.readElementText().trimmed();
                    --depth;
                } else if (depth == 2 && element == u"status"_s) {
                    response.status = readStatus(xml.readElementText());
                    --depth;
                } else if (depth == 3 && element == u"status"_s) {
                    propstatStatus = readStatus(xml.readElementText());
                    --depth;
                } else if (depth == 4) {
                    // A property: its text, its hrefs, its children's names.
                    QString text;
                    int inner = 1;
                    while (inner > 0 && !xml.atEnd()) {
                        xml.readNext();
                        if (xml.isStartElement()) {
                            ++inner;
                            const QString child = xml.name().toString();
                            if (child == u"href"_s) {
                                found.hrefs[element].append(xml.readElementText().trimmed());
                                --inner;
                            } else if (element == u"resourcetype"_s) {
                                found.resourceTypes.append(child);
                            } else if (child == u"comp"_s) {
                                found.components.append(
                                    xml.attributes().value(u"name"_s).toString().toUpper());
                            }
                        } else if (xml.isEndElement()) {
                            --inner;
                        } else if (xml.isCharacters()) {
                            text += xml.text();
                        }
                    }
                    found.text.insert(element, text);
                    --depth;
                }
            }
            result.responses.append(response);
        }
    }
    if (xml.hasError())
        result.valid = false;
    return result;
}

} // namespace qm
