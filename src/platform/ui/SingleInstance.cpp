#include "platform/ui/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace qm {

using namespace Qt::StringLiterals;

namespace {

// The whole conversation: one line from the new copy, one line back.
constexpr char RequestLine[] = "come-forward\n";
constexpr char AnswerLine[] = "ok\n";
constexpr qint64 MaxLineLength = 64;
// A client that connects and never says anything is dropped after this long,
// so a stuck or hostile peer cannot keep sockets open in the running copy.
constexpr int ConversationTimeoutMs = 10000;

// Who runs this process, in a form that can go into a file or pipe name.
QString userTag() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    return user;
#endif
}

// Only plain characters: the name ends up in a file name and a pipe name.
QString safeName(const QString &name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
        out.append(plain ? c : u'_');
    }
    return out.isEmpty() ? u"instance"_s : out;
}

} // namespace

SingleInstance::SingleInstance(const QString &name, const QString &folder, QObject *parent)
    : QObject(parent) {
    QString base = safeName(name);
    QString place = folder;
    if (place.isEmpty()) {
#ifdef Q_OS_WIN
        // The runtime location is the home folder here; the temporary folder is
        // per user on this system and keeps the lock file out of sight.
        place = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
#else
        place = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (place.isEmpty()) {
            // The temporary folder is shared by all users: keep their locks apart.
            place = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
            base += u'-' + userTag();
        }
#endif
    }
    const QDir dir(place);
    m_lockPath = dir.filePath(base + u".lock"_s);
#ifdef Q_OS_WIN
    // Pipe names are machine-wide: the user's name keeps two users' copies apart.
    m_serverName = base + u'-' + safeName(userTag());
#else
    // A full path puts the socket inside the user's own folder, where nobody
    // else can create, replace or reach it.
    m_serverName = dir.filePath(base + u".socket"_s);
#endif
}

SingleInstance::~SingleInstance() {
    // Close the server (which removes its socket) while the lock is still held:
    // once the lock is free a new copy may already be setting up its own socket
    // under the same name.
    delete m_server;
    m_server = nullptr;
    m_lock.reset();
}

bool SingleInstance::tryAcquire() {
    if (m_lock && m_lock->isLocked())
        return true;
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Stale only when its process is gone, never by age: a copy may run for weeks.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return false;
        qWarning("Cannot create the lock file %ls; running without the single-instance guard",
                 qUtf16Printable(QDir::toNativeSeparators(m_lockPath)));
        return true;
    }

    // Holding the lock means any socket of that name was left by a copy that
    // died without cleaning up.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serveConnection(socket);
    });
    if (!m_server->listen(m_serverName)) {
        // Still the only copy; a second start just cannot bring this one forward.
        qWarning("Cannot listen on %ls: %ls", qUtf16Printable(m_serverName),
                 qUtf16Printable(m_server->errorString()));
    }
    return true;
}

void SingleInstance::serveConnection(QLocalSocket *socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(ConversationTimeoutMs, socket, [socket] { socket->abort(); });
    auto answer = [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > MaxLineLength)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(MaxLineLength + 1);
        if (line != RequestLine) {
            socket->abort();
            return;
        }
        socket->write(AnswerLine);
        socket->flush();
        emit activationRequested();
    };
    connect(socket, &QLocalSocket::readyRead, this, answer);
    if (socket->bytesAvailable() > 0)
        answer();
}

bool SingleInstance::activateRunning(int timeoutMs) {
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    const auto remaining = [&deadline] { return int(deadline.remainingTime()); };

    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(remaining()))
        return false;
    socket.write(RequestLine);
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(remaining()))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(remaining()))
            return false;
    }
    const bool answered = socket.readLine(MaxLineLength + 1) == AnswerLine;
    socket.disconnectFromServer();
    return answered;
}

} // namespace qm
