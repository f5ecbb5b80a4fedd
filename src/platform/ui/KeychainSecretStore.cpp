#include "platform/ui/KeychainSecretStore.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

#include <type_traits>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

struct Answer {
    bool came = false;
    QKeychain::Error error = QKeychain::OtherError;
    QString text;
};

// The store's jobs answer through the event loop: a local loop waits for the
// answer or the limit, taking no user input meanwhile. A job that does not
// answer in time is left to delete itself whenever it ends.
template <typename Job> Answer Run(Job *job, int limitMs) {
    Answer answer;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&answer, &loop, job] {
        answer.came = true;
        answer.error = job->error();
        if constexpr (std::is_same_v<Job, QKeychain::ReadPasswordJob>)
            answer.text = job->textData();
        loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->start();
    if (!answer.came)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return answer;
}

// Answers that say there is no store to speak to (rather than an answer about
// one password).
bool MeansNoStore(const Answer &answer) {
    if (!answer.came)
        return true;
    switch (answer.error) {
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
    case QKeychain::OtherError:
        return true;
    default:
        return false;
    }
}

} // namespace

KeychainSecretStore::KeychainSecretStore(QString service, int answerLimitMs)
    : m_service(std::move(service)), m_answerLimitMs(answerLimitMs) {}

bool KeychainSecretStore::available() {
    if (!m_available) {
        auto *job = new QKeychain::ReadPasswordJob(m_service);
        job->setKey(u"(probe)"_s);
        m_available = !MeansNoStore(Run(job, m_answerLimitMs));
    }
    return *m_available;
}

std::optional<QString> KeychainSecretStore::readPassword(const QString &key) {
    if (!available())
        return std::nullopt;
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(key);
    const Answer answer = Run(job, m_answerLimitMs);
    if (MeansNoStore(answer))
        m_available = false;
    if (answer.error != QKeychain::NoError || !answer.came)
        return std::nullopt;
    return answer.text;
}

bool KeychainSecretStore::writePassword(const QString &key, const QString &value) {
    if (!available())
        return false;
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(key);
    job->setTextData(value);
    const Answer answer = Run(job, m_answerLimitMs);
    if (MeansNoStore(answer))
        m_available = false;
    return answer.came && answer.error == QKeychain::NoError;
}

bool KeychainSecretStore::removePassword(const QString &key) {
    if (!available())
        return false;
    auto *job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(key);
    const Answer answer = Run(job, m_answerLimitMs);
    if (MeansNoStore(answer))
        m_available = false;
    return answer.came &&
           (answer.error == QKeychain::NoError || answer.error == QKeychain::EntryNotFound);
}

} // namespace qm
