#include "support/TestServices.h"

#include "foundation/Errors.h"

#include <QDialog>
#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace qm::test {

FakeClock::FakeClock(QDateTime start) : m_now(std::move(start)) {}

void FakeClock::advanceMs(qint64 ms) {
    m_now = m_now.addMSecs(ms);
    m_elapsed += ms;
}

int ScriptedPrompter::showMessage(const QString &text, int kind, int buttons, int defaultResult) {
    messages.append({text, kind, buttons, defaultResult});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return defaultResult;
}

void ScriptedPrompter::showSystemInformation(const QString &, const QString &text) {
    systemMessages.append(text);
}

int ScriptedPrompter::runModal(QDialog &dialog) {
    ++modalRuns;
    if (modalHandler)
        return modalHandler(dialog);
    dialog.reject();
    return QDialog::Rejected;
}

void MemoryStartWithSystem::setOn(bool value) {
    ++changes;
    if (fail && value != on)
        throw FileError(u"Cannot Write The Entry"_s, u"/autostart/quillmate.desktop"_s);
    on = value;
}

std::optional<QString> MemorySecretStore::readPassword(const QString &key) {
    ++reads;
    if (unavailable || !passwords.contains(key))
        return std::nullopt;
    return passwords.value(key);
}

bool MemorySecretStore::writePassword(const QString &key, const QString &value) {
    if (unavailable)
        return false;
    passwords[key] = value;
    return true;
}

bool MemorySecretStore::removePassword(const QString &key) {
    if (unavailable)
        return false;
    passwords.remove(key);
    return true;
}

TestServices::TestServices() {
    Services s;
    s.clock = &clock;
    s.settings = &settings;
    s.screen = &screen;
    s.prompter = &prompter;
    s.shell = &shell;
    s.startWithSystem = &startWithSystem;
    s.secrets = &secrets;
    s.dataFolder = QDir(dir.path()).absolutePath() + QLatin1Char('/');
    m_scope.emplace(s);
}

TestServices::~TestServices() = default;

QString TestServices::path(const QString &fileName) const {
    return dataFolder() + fileName;
}

QByteArray ReadBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file");
    file.write(bytes);
}

QByteArray TestData(const QString &name) {
    return ReadBytes(QStringLiteral(QM_TEST_DATA_DIR) + QLatin1Char('/') + name);
}

} // namespace qm::test
