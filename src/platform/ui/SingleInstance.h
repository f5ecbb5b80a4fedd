#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace qm {

// Keeps the program to one running copy per user. The first copy holds a lock
// file for as long as it runs and listens on a local socket; a later copy finds
// the lock taken and uses the socket to ask the running copy to come forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: derived from the application title; tests pass their own unique
    // names. folder: where the lock file and (on Unix) the socket live; empty
    // means the user's runtime folder, falling back to the temporary folder,
    // so the lock is per user.
    explicit SingleInstance(const QString &name, const QString &folder = {},
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the only running copy: the lock is held
    // for the object's lifetime and a local server listens for "come forward"
    // requests. A lock or socket left behind by a copy that crashed does not
    // block. When the lock file cannot be created at all (an unusable folder)
    // the answer is also true: nobody else can hold it, and refusing to start
    // would lock the user out of the program.
    bool tryAcquire();

    // Called by a second copy after tryAcquire() failed: asks the running copy
    // to bring its window forward. True when the running copy acknowledged the
    // request; never blocks longer than timeoutMs.
    bool activateRunning(int timeoutMs = 2000);

signals:
    // Emitted in the running copy when a second copy asked it to come forward.
    void activationRequested();

private:
    void serveConnection(QLocalSocket *socket);

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace qm
