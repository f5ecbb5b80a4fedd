#include "support/RadicaleServer.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

using namespace Qt::StringLiterals;

RadicaleServer::~RadicaleServer() {
    kill();
}

namespace {

bool WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint16 FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

bool RadicaleServer::start(QString &why, bool tls) {
    const QString radicale = QStandardPaths::findExecutable(u"radicale"_s);
    if (radicale.isEmpty()) {
        why = u"the radicale program is not installed (Debian package radicale)"_s;
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    m_tls = tls;
    m_port = FreePort();
    if (!m_dir->isValid() || m_port == 0) {
        why = u"no temporary folder or free port"_s;
        return false;
    }
    const QString dir = m_dir->path();
    QByteArray config = "[server]\nhosts = 127.0.0.1:" + QByteArray::number(m_port) +
                        "\nmax_content_length = 100000000\ntimeout = 30\n"
                        "[auth]\ntype = htpasswd\nhtpasswd_filename = " +
                        dir.toUtf8() +
                        "/users\nhtpasswd_encryption = plain\ndelay = 0\n"
                        "[storage]\nfilesystem_folder = " +
                        dir.toUtf8() +
                        "/collections\n"
                        "[logging]\nlevel = critical\nmask_passwords = True\n";
    if (tls) {
        QProcess openssl;
        openssl.start(u"openssl"_s,
                      {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-keyout"_s,
                       dir + u"/key.pem"_s, u"-out"_s, dir + u"/cert.pem"_s, u"-days"_s, u"2"_s,
                       u"-subj"_s, u"/CN=127.0.0.1"_s, u"-addext"_s,
                       u"subjectAltName=IP:127.0.0.1"_s});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            why = u"openssl could not make a certificate"_s;
            return false;
        }
        const auto certificates = QSslCertificate::fromPath(dir + u"/cert.pem"_s);
        if (certificates.isEmpty()) {
            why = u"the certificate made could not be read"_s;
            return false;
        }
        m_certificate = certificates.first();
        config.replace("[auth]", "ssl = True\ncertificate = " + dir.toUtf8() +
                                     "/cert.pem\nkey = " + dir.toUtf8() + "/key.pem\n[auth]");
    }
    if (!WriteFile(dir + u"/config"_s, config) ||
        !WriteFile(dir + u"/users"_s, (User + u':' + Password + u'\n').toUtf8())) {
        why = u"the server's files could not be written"_s;
        return false;
    }
    return launch(why);
}

bool RadicaleServer::launch(QString &why) {
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(QStandardPaths::findExecutable(u"radicale"_s),
                     {u"--config"_s, m_dir->path() + u"/config"_s});
    if (!m_process->waitForStarted(10000)) {
        why = u"the radicale program did not start"_s;
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process->state() != QProcess::Running) {
            why = u"the radicale program ended at once"_s;
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    why = u"the server did not answer within 20 seconds"_s;
    return false;
}

void RadicaleServer::kill() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(10000);
    }
    m_process.reset();
}

bool RadicaleServer::restart(QString &why) {
    kill();
    return launch(why);
}

QUrl RadicaleServer::url() const {
    return QUrl((m_tls ? u"https://127.0.0.1:"_s : u"http://127.0.0.1:"_s) +
                QString::number(m_port) + u'/');
}

QUrl RadicaleServer::calendarUrl() const {
    return url().resolved(QUrl(User + u"/calendar/"_s));
}

QUrl RadicaleServer::addressBookUrl() const {
    return url().resolved(QUrl(User + u"/contacts/"_s));
}

QString RadicaleServer::storage() const {
    return m_dir->path() + u"/collections"_s;
}

bool RadicaleServer::makeCollections(QString &why) {
    QNetworkAccessManager network;
    const QByteArray auth = "Basic " + (User + u':' + Password).toUtf8().toBase64();
    auto send = [&](const QUrl &url, const QByteArray &verb, const QByteArray &body) {
        QNetworkRequest request(url);
        request.setRawHeader("Authorization", auth);
        request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
        if (m_tls) {
            QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
            ssl.addCaCertificate(m_certificate);
            request.setSslConfiguration(ssl);
        }
        QNetworkReply *reply = network.sendCustomRequest(request, verb, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply->deleteLater();
        if (status != 201)
            why = QString::fromLatin1(verb) + u" answered "_s + QString::number(status);
        return status == 201;
    };
    const QByteArray calendar =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
        "<D:displayname>Personal</D:displayname><C:supported-calendar-component-set>"
        "<C:comp name=\"VEVENT\"/><C:comp name=\"VTODO\"/></C:supported-calendar-component-set>"
        "</D:prop></D:set></C:mkcalendar>";
    const QByteArray book =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<D:mkcol xmlns:D=\"DAV:\" xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop>"
        "<D:resourcetype><D:collection/><CR:addressbook/></D:resourcetype>"
        "<D:displayname>Contacts</D:displayname></D:prop></D:set></D:mkcol>";
    return send(calendarUrl(), "MKCALENDAR", calendar) && send(addressBookUrl(), "MKCOL", book);
}
