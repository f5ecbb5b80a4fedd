#pragma once

#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// A real CalDAV/CardDAV server for the sync tests: Radicale on a free port of
// 127.0.0.1, with its own storage folder and users file (basic
// authentication), stopped when the object goes. With tls it serves HTTPS
// with a self-signed certificate made for the test, which the test must trust
// explicitly.
class RadicaleServer {
public:
    static inline const QString User = QStringLiteral("alice");
    static inline const QString Password = QStringLiteral("secret");

    RadicaleServer() = default;
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer &) = delete;
    RadicaleServer &operator=(const RadicaleServer &) = delete;

    // Starts the server and waits until it answers; false with why set when
    // it cannot (Radicale or openssl missing, no port).
    bool start(QString &why, bool tls = false);
    // Stops it (as a crash would: killed), keeping its storage.
    void kill();
    // Starts it again on the same port with the same storage.
    bool restart(QString &why);

    // "http://127.0.0.1:PORT/" (or https).
    QUrl url() const;
    // The user's own collections, made with makeCollections().
    QUrl calendarUrl() const;
    QUrl addressBookUrl() const;
    QSslCertificate certificate() const { return m_certificate; }
    // Creates the user's calendar and address book (as a phone or a web
    // client would, with MKCALENDAR and an extended MKCOL).
    bool makeCollections(QString &why);
    // The storage folder (to count what the server keeps).
    QString storage() const;

private:
    bool launch(QString &why);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    bool m_tls = false;
    QSslCertificate m_certificate;
};

// Skips the calling test function with a clear message when the server
// cannot be started; CI installs Radicale so the tests run there.
#define QM_START_RADICALE(server, ...)                                                             \
    do {                                                                                           \
        QString why_;                                                                              \
        if (!(server).start(why_ __VA_OPT__(, ) __VA_ARGS__))                                      \
            QSKIP(qPrintable(QStringLiteral("Radicale could not be started: ") + why_));           \
    } while (false)
