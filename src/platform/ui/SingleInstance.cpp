#include "platform/ui/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
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

#ifdef Q_OS_UNIX
// Whether path is a folder only this user can reach, creating it (mode 0700)
// when it is missing: a real folder, not a link, owned by this user, which
// nobody else may enter. A folder in a shared place that someone else made
// first fails, so they cannot plant a lock or socket there.
bool isPrivateFolder(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The first private folder of: the user's runtime folder, a folder of the
// user's own in the temporary folder, one in the user's cache folder. Empty
// when there is none.
QString privateRuntimeFolder() {
    QStringList candidates;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        candidates << runtime;
    const QString own = u"quillmate-"_s + userTag();
    candidates << QDir(QDir::tempPath()).filePath(own);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache))
        candidates << QDir(cache).filePath(own);
    for (const QString &candidate : candidates)
        if (isPrivateFolder(candidate))
            return candidate;
    return {};
}
#endif

// A lock that is stale only when its process is gone, never by age: a copy
// may run for weeks. True when it is now held, or when it cannot be made at
// all (an unusable folder: nobody else can hold it either, and refusing to
// start would lock the user out).
bool takeLock(std::unique_ptr<QLockFile> &lock, const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    if (lock->error() == QLockFile::LockFailedError)
        return false;
    qWarning("Cannot create the lock file %ls; running without it",
             qUtf16Printable(QDir::toNativeSeparators(path)));
    lock.reset();
    return true;
}

// Whether a lock file was written on another computer, decided as the lock
// itself decides it: by the machine's id when the file records one (its
// fourth line), else by the host name.
bool isFromAnotherHost(const QString &path, const QString &host) {
    QByteArray machineId;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        machineId = file.read(4096).split('\n').value(3).trimmed();
    const QByteArray ours = QSysInfo::machineUniqueId();
    if (!machineId.isEmpty() && !ours.isEmpty())
        return machineId != ours;
    return !host.isEmpty() && host != QSysInfo::machineHostName();
}

std::optional<ForeignLock> readForeignLock(const QLockFile &lock, const QString &path) {
    ForeignLock found;
    QString program;
    if (!lock.getLockInfo(&found.pid, &found.host, &program) ||
        !isFromAnotherHost(path, found.host))
        return std::nullopt;
    found.path = path;
    found.taken = QFileInfo(path).lastModified();
    return found;
}

} // namespace

SingleInstance::SingleInstance(const QString &name, const QString &folder,
                               const QString &dataFolder, QObject *parent)
    : QObject(parent) {
    const QString base = safeName(name);
    if (!dataFolder.isEmpty())
        m_dataLockPath = QDir(dataFolder).filePath(base + u".lock"_s);
    QString place = folder;
    if (place.isEmpty()) {
#ifdef Q_OS_WIN
        // The runtime location is the home folder here; the temporary folder is
        // per user on this system and keeps the lock file out of sight.
        place = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
#else
        place = privateRuntimeFolder();
        if (place.isEmpty()) {
            qWarning("No private folder for the per-user lock; only the data folder is locked");
            return;
        }
#endif
    }
    const QDir dir(place);
    m_lockPath = dir.filePath(base + u".lock"_s);
    // One lock is enough where the two folders are one.
    if (QFileInfo(m_lockPath).absoluteFilePath() == QFileInfo(m_dataLockPath).absoluteFilePath())
        m_dataLockPath.clear();
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
    m_dataLock.reset();
}

bool SingleInstance::tryAcquire() {
    if (m_acquired)
        return true;
    if (!m_lockPath.isEmpty() && !takeLock(m_lock, m_lockPath))
        return false;
    // Another copy over the same data, from any user, would overwrite this
    // one's changes with its own.
    m_dataLockHeld = false;
    if (!m_dataLockPath.isEmpty() && !takeLock(m_dataLock, m_dataLockPath)) {
        m_dataLockHeld = true;
        m_lock.reset();
        return false;
    }
    m_acquired = true;
    if (!m_lock)
        return true;

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

bool SingleInstance::lockDataFolder(const QString &name, const QString &dataFolder,
                                    std::unique_ptr<QLockFile> &lock) {
    return takeLock(lock, QDir(dataFolder).filePath(safeName(name) + u".lock"_s));
}

std::optional<ForeignLock> SingleInstance::foreignDataLock() const {
    if (m_acquired || !m_dataLockHeld || !m_dataLock)
        return std::nullopt;
    return readForeignLock(*m_dataLock, m_dataLockPath);
}

bool SingleInstance::takeOverDataLock(const ForeignLock &seen) {
    const std::optional<ForeignLock> now = foreignDataLock();
    // Another copy may have taken the folder since the user was asked.
    if (!now || now->path != seen.path || now->host != seen.host || now->pid != seen.pid ||
        now->taken != seen.taken)
        return false;
    if (!m_dataLock->removeStaleLockFile())
        return false;
    return tryAcquire();
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
    if (m_serverName.isEmpty())
        return false;
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
