#pragma once

// What the benchmarks share: timing by medians, and the floor every record
// file operation is measured against (the same bytes written plainly).

#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace bench {

using namespace Qt::StringLiterals;

inline constexpr int Runs = 15;

// Settings kept in memory, so a benchmark never touches the user's own.
class MemorySettings final : public qm::SettingsStore {
public:
    void open(const QString &) override {}
    QString read(const QString &name, const QString &fallback) const override {
        return m_values.value(name, fallback);
    }
    bool contains(const QString &name) const override { return m_values.contains(name); }
    void write(const QString &name, const QString &value) override { m_values[name] = value; }
    void remove(const QString &name) override { m_values.remove(name); }

private:
    QMap<QString, QString> m_values;
};

// The services a benchmark runs over, installed for its lifetime: a fresh
// temporary data folder, the system clock and settings in memory.
class BenchServices {
public:
    BenchServices() {
        if (!m_dir.isValid())
            qFatal("no temporary folder");
        qm::Services services;
        services.dataFolder = m_dir.path() + u"/"_s;
        services.clock = &m_clock;
        services.settings = &m_settings;
        m_scope.emplace(services);
    }

private:
    QTemporaryDir m_dir;
    qm::SystemClock m_clock;
    MemorySettings m_settings;
    std::optional<qm::ServicesScope> m_scope;
};

// Descriptions for generated appointments (one with a Windows-1252 letter).
inline const char *const Descriptions[5] = {"Dentist Check-Up", "Team Meeting In Room 4",
                                            "Lunch With Ren\xe9"
                                            "e",
                                            "Pay The Car Insurance",
                                            "Call The Plumber About The Boiler"};

// Appointments, eight a day from 1 January 2020, as record lines.
inline QStringList diaryLines(int count) {
    QStringList lines;
    lines.reserve(count);
    const QDate first(2020, 1, 1);
    for (int i = 0; i < count; ++i) {
        const QString date = first.addDays(i / 8).toString(u"yyyyMMdd"_s);
        const QString start = u"%1:00"_s.arg(8 + i % 8, 2, 10, QChar(u'0'));
        const QString end = u"%1:45"_s.arg(8 + i % 8, 2, 10, QChar(u'0'));
        lines.append(date + u"\u00ff"_s + start + u"\u00ff"_s + end + u"\u00ff"_s +
                     QString::fromLatin1(Descriptions[i % 5]) + u"\u00ff15\u00ff"_s +
                     (i % 7 ? u"N"_s : u"Y"_s));
    }
    return lines;
}

struct Task {
    std::function<void()> work;
    std::function<void()> prepare; // run before each timing, not timed
};

// Medians in milliseconds. The tasks take turns in every run, so a change in
// the machine's load (or the disk's journal) falls on all of them alike.
inline std::vector<double> medianMs(const std::vector<Task> &tasks) {
    std::vector<std::vector<double>> times(tasks.size());
    for (int run = 0; run < Runs; ++run) {
        for (size_t i = 0; i < tasks.size(); ++i) {
            if (tasks[i].prepare)
                tasks[i].prepare();
            QElapsedTimer timer;
            timer.start();
            tasks[i].work();
            times[i].push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::vector<double> medians;
    for (std::vector<double> &t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

inline void syncToDisk(QFile &file) {
#if defined(Q_OS_UNIX)
    ::fsync(file.handle());
#elif defined(Q_OS_WIN)
    ::_commit(file.handle());
#endif
}

// The floor: the bytes written to a new file beside the target, flushed
// (optionally synced) and renamed over it.
inline void plainReplace(const QString &path, const QByteArray &bytes, bool sync) {
    const QString work = path + u".new"_s;
    {
        QFile file(work);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(work));
        file.flush();
        if (sync)
            syncToDisk(file);
    }
    std::filesystem::rename(QFileInfo(work).filesystemFilePath(),
                            QFileInfo(path).filesystemFilePath());
}

// One measured line: the time and how many times the floor it is.
inline void report(const char *what, double ms, const char *floorName, double floorMs) {
    std::printf("  %-36s %8.2f ms   x%5.2f of %s\n", what, ms, ms / floorMs, floorName);
}

inline QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

} // namespace bench
