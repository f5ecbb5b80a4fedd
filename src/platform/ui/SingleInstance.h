#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace qm {

// The data folder's lock as a copy on another computer left it. This
// computer cannot tell whether that copy still runs: the lock may have been
// left by one that died there (or before the computer was renamed).
struct ForeignLock {
    QString path;
    QString host;
    qint64 pid = 0;
    // When the lock was taken (the file's last change), by this computer's
    // reading of the file's time.
    QDateTime taken;
};

// Keeps the program to one running copy per user and one per data folder. The
// first copy holds a lock file in a folder private to the user for as long as
// it runs and listens on a local socket beside it; a later copy of the same
// user finds the lock taken and uses the socket to ask the running copy to come
// forward. The first copy also holds a lock file in the data folder, which
// turns away a copy of any user working on the same data (that copy cannot
// bring another user's window forward).
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: derived from the application title; tests pass their own unique
    // names. folder: where the per-user lock file and (on Unix) the socket
    // live; empty means a folder only this user can reach: the user's runtime
    // folder, else a folder of the user's own (mode 0700, owner checked) in
    // the temporary folder, else one in the user's cache folder. dataFolder:
    // where the data lock lives; empty for none.
    explicit SingleInstance(const QString &name, const QString &folder = {},
                            const QString &dataFolder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the only running copy: the locks are held
    // for the object's lifetime and a local server listens for "come forward"
    // requests. A lock or socket left behind by a copy that crashed does not
    // block. When a lock file cannot be created at all (an unusable folder)
    // that lock is skipped: nobody else can hold it, and refusing to start
    // would lock the user out of the program.
    bool tryAcquire();

    // For work on the data folder without a window (the command line): takes
    // the data folder's lock, as a running copy holds it, into lock for as long
    // as the caller keeps it. False when a running copy holds it. A lock file
    // that cannot be created does not block, as in tryAcquire().
    static bool lockDataFolder(const QString &name, const QString &dataFolder,
                               std::unique_ptr<QLockFile> &lock);

    // Called by a second copy after tryAcquire() failed: asks the running copy
    // to bring its window forward. True when the running copy acknowledged the
    // request; never blocks longer than timeoutMs.
    bool activateRunning(int timeoutMs = 2000);

    // After tryAcquire() failed: the data folder's lock when a copy on another
    // computer holds it; nothing when what stopped this copy is held on this
    // computer.
    std::optional<ForeignLock> foreignDataLock() const;
    // Removes the lock seen (unless it has changed since) and tries again;
    // true when this process is now the only running copy. For a lock the
    // user has said was left behind.
    bool takeOverDataLock(const ForeignLock &seen);

signals:
    // Emitted in the running copy when a second copy asked it to come forward.
    void activationRequested();

private:
    void serveConnection(QLocalSocket *socket);

    QString m_lockPath;
    QString m_dataLockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLockFile> m_dataLock;
    bool m_acquired = false;
    bool m_dataLockHeld = false; // by someone else, when tryAcquire() last failed
    QLocalServer *m_server = nullptr;
};

} // namespace qm
