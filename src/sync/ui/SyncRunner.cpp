#include "sync/ui/SyncRunner.h"

#include "foundation/ui/MsgBox.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <future>

using namespace Qt::StringLiterals;

namespace qm {

// What the worker thread and the window share. The worker only reads the
// inputs and the cancel flag, and hands everything else back through queued
// calls, so the runner may go away while the worker is still waiting on the
// server: the flag tells it to stop, and its calls then reach nobody.
struct SyncRunner::Work {
    std::atomic<bool> cancel{false};
    QThread *thread = nullptr;
};

SyncRunner::SyncRunner(QObject *parent) : QObject(parent) {}

SyncRunner::~SyncRunner() {
    if (m_work && m_work->thread) {
        m_work->cancel = true;
        // The worker stops at its next request; its thread deletes itself.
        m_work->thread->disconnect(this);
    }
}

bool SyncRunner::busy() const {
    return m_work && m_work->thread;
}

void SyncRunner::cancel() {
    if (m_work)
        m_work->cancel = true;
}

namespace {

SyncHooks WorkerHooks(SyncRunner *runner, const std::shared_ptr<std::atomic<bool>> &cancel) {
    QPointer<SyncRunner> guarded(runner);
    SyncHooks hooks;
    hooks.cancelled = [cancel] { return cancel->load(); };
    hooks.progress = [guarded](const QString &text) {
        QMetaObject::invokeMethod(
            guarded.data(),
            [guarded, text] {
                if (guarded)
                    emit guarded->progress(text);
            },
            Qt::QueuedConnection);
    };
    hooks.confirm = [guarded, cancel](const QString &question) {
        auto answer = std::make_shared<std::promise<bool>>();
        std::future<bool> future = answer->get_future();
        const bool queued = QMetaObject::invokeMethod(
            guarded.data(), [answer, question] { answer->set_value(ConfirmDiscarding(question)); },
            Qt::QueuedConnection);
        if (!queued)
            return false;
        while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            if (cancel->load())
                return false;
        }
        return future.get();
    };
    return hooks;
}

} // namespace

bool SyncRunner::startSync(const SyncAccount &account, const SyncCredentials &credentials,
                           const QString &folder) {
    if (busy())
        return false;
    auto work = std::make_shared<Work>();
    auto cancel = std::shared_ptr<std::atomic<bool>>(work, &work->cancel);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDate today = clock().now().date();
    auto prepared = std::make_shared<std::shared_ptr<PreparedSync>>();
    const SyncHooks hooks = WorkerHooks(this, cancel);
    work->thread = QThread::create(
        [=] { *prepared = PrepareSync(account, credentials, folder, hooks, zone, today); });
    m_work = work;
    connect(work->thread, &QThread::finished, work->thread, &QObject::deleteLater);
    connect(work->thread, &QThread::finished, this, [this, work, prepared, folder] {
        work->thread = nullptr;
        finishWhenFree(work, *prepared, folder);
    });
    work->thread->start();
    return true;
}

void SyncRunner::finishWhenFree(const std::shared_ptr<Work> &work,
                                const std::shared_ptr<PreparedSync> &prepared,
                                const QString &folder) {
    SyncResult result;
    if (work->cancel) {
        // Stopped before anything was written here: the next sync finds
        // what was already sent by its content.
        result.cancelled = true;
    } else {
        // Written only while no editor or dialog is open: an editor holds its
        // records and would write them back over what the sync wrote. A form
        // that holds no records (the account form) does not wait.
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && !modal->property("holdsNoRecords").toBool()) {
            QTimer::singleShot(250, this, [this, work, prepared, folder] {
                finishWhenFree(work, prepared, folder);
            });
            return;
        }
        result = FinishSync(*prepared, folder);
    }
    if (m_work == work)
        m_work.reset();
    emit finished(result);
}

bool SyncRunner::startDiscovery(const QUrl &server, const SyncCredentials &credentials) {
    if (busy())
        return false;
    auto work = std::make_shared<Work>();
    auto cancel = std::shared_ptr<std::atomic<bool>>(work, &work->cancel);
    auto result = std::make_shared<DiscoveryResult>();
    work->thread = QThread::create([=] {
        *result = DiscoverCollections(server, credentials, [cancel] { return cancel->load(); });
    });
    m_work = work;
    connect(work->thread, &QThread::finished, work->thread, &QObject::deleteLater);
    connect(work->thread, &QThread::finished, this, [this, work, result] {
        work->thread = nullptr;
        if (m_work == work)
            m_work.reset();
        emit discovered(*result);
    });
    work->thread->start();
    return true;
}

} // namespace qm
