#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace qm::test {

using namespace Qt::StringLiterals;

// A small file system of its own, mounted for the test and unmounted after:
// the only way to fill a disk for real without touching the machine's.
class SmallDisk {
public:
    explicit SmallDisk(const QString &size = u"1m"_s) {
        if (::geteuid() != 0) {
            m_problem = u"mounting a small tmpfs needs root (CI runs the tests as root)"_s;
            return;
        }
        QProcess mount;
        mount.start(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size="_s + size + u",mode=0755"_s,
                                 u"tmpfs"_s, m_dir.path()});
        if (!mount.waitForFinished(10000) || mount.exitCode() != 0) {
            m_problem = u"cannot mount a tmpfs here: "_s +
                        QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk() {
        if (m_mounted)
            QProcess::execute(u"umount"_s, {m_dir.path()});
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    const QString &problem() const { return m_problem; }
    QString folder() const { return m_dir.path() + u'/'; }

    // Makes the file system read-only from now on.
    bool makeReadOnly() {
        return QProcess::execute(u"mount"_s, {u"-o"_s, u"remount,ro"_s, m_dir.path()}) == 0;
    }

    // Fills the disk to the last byte, then gives back leaveFree bytes.
    void fill(qint64 leaveFree) {
        QFile filler(folder() + u"filler"_s);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            qFatal("cannot create the filler");
        const QByteArray block(4096, 'f');
        while (filler.write(block) > 0) {
        }
        if (leaveFree > 0)
            filler.resize(filler.size() - leaveFree);
    }

    QStringList files() const {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_problem;
};

} // namespace qm::test
