#pragma once

#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "platform/Secrets.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/StartWithSystem.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <functional>
#include <optional>

namespace qm::test {

// A clock the test sets and advances. elapsedMs() advances with it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    QDateTime now() const override { return m_now; }
    qint64 elapsedMs() const override { return m_elapsed; }
    void set(const QDateTime &now) { m_now = now; }
    void advanceMs(qint64 ms);

private:
    QDateTime m_now;
    qint64 m_elapsed = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
    void open(const QString &section) override {
        m_section = section;
        ++m_opens;
    }
    QString read(const QString &name, const QString &defaultValue) const override {
        return m_values.value(name, defaultValue);
    }
    bool contains(const QString &name) const override { return m_values.contains(name); }
    // With fail set, a change is refused as the real store refuses one it
    // cannot write (its own tests show when): nothing changes.
    void write(const QString &name, const QString &value) override {
        refuseWhenFailing();
        m_values[name] = value;
    }
    void remove(const QString &name) override {
        refuseWhenFailing();
        m_values.remove(name);
    }

    QMap<QString, QString> m_values;
    bool fail = false;
    int refused = 0;
    QString m_section;
    int m_opens = 0;

private:
    void refuseWhenFailing() {
        if (!fail)
            return;
        ++refused;
        throw SettingsWriteError(QStringLiteral("/config/Varnell/Quillmate.conf"),
                                 QStringLiteral("No Space Left On Device"));
    }
};

class FixedScreenMetrics final : public ScreenMetrics {
public:
    QSize size() const override { return m_size; }
    int colourDepth() const override { return m_depth; }
    int logicalDpi() const override { return m_dpi; }

    QSize m_size{1024, 768};
    int m_depth = 24;
    int m_dpi = 96;
};

// Records every message and answers from a script; with no scripted answer a
// message gets its default button's result, as Enter would (the first
// button, OK 8 or Yes 5, unless the message names another). runModal calls the
// handler the test installed, which may drive the dialog; without one the
// dialog is rejected.
class ScriptedPrompter final : public Prompter {
public:
    struct Message {
        QString text;
        int kind = 0;
        int buttons = 0;
        int defaultResult = 0;
    };
    int showMessage(const QString &text, int kind, int buttons, int defaultResult) override;
    void showSystemInformation(const QString &title, const QString &text) override;
    int runModal(QDialog &dialog) override;

    // Answers for the next messages, in order.
    QVector<int> answers;
    QVector<Message> messages;
    QVector<QString> systemMessages;
    std::function<int(QDialog &)> modalHandler;
    int modalRuns = 0;
};

// Records the addresses asked for and answers as told.
class RecordingShell final : public Shell {
public:
    bool openAddress(const QString &address) override {
        opened.append(address);
        return answer;
    }
    QStringList opened;
    bool answer = true;
};

// Starting with the system as a flag; fail makes every change of it raise,
// as an unwritable entry would, leaving the flag as it was.
class MemoryStartWithSystem final : public StartWithSystem {
public:
    bool isOn() const override { return on; }
    void setOn(bool value) override;
    bool on = false;
    bool fail = false;
    int changes = 0;
};

// Passwords in a map. With unavailable set it behaves as a system without a
// secret store: nothing is kept and nothing is found.
class MemorySecretStore final : public SecretStore {
public:
    bool available() override { return !unavailable; }
    std::optional<QString> readPassword(const QString &key) override;
    bool writePassword(const QString &key, const QString &value) override;
    bool removePassword(const QString &key) override;

    QMap<QString, QString> passwords;
    bool unavailable = false;
    int reads = 0;
};

// A complete set of test services over a fresh temporary data folder,
// installed for the fixture's lifetime.
class TestServices {
public:
    TestServices();
    ~TestServices();
    QString path(const QString &fileName) const; // full path in the data folder

    QTemporaryDir dir;
    FakeClock clock;
    MemorySettingsStore settings;
    FixedScreenMetrics screen;
    ScriptedPrompter prompter;
    RecordingShell shell;
    MemoryStartWithSystem startWithSystem;
    MemorySecretStore secrets;

private:
    std::optional<ServicesScope> m_scope;
};

// Reads a file's bytes (empty when missing).
QByteArray ReadBytes(const QString &path);
// Writes bytes to a file, replacing it.
void WriteBytes(const QString &path, const QByteArray &bytes);
// The bytes of a file in tests/data.
QByteArray TestData(const QString &name);

} // namespace qm::test
