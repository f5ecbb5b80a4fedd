#include "diary/ui/Reminders.h"

#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmRemind.h"
#include "foundation/AlarmFile.h"
#include "foundation/ui/ErrorReport.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <utility>

namespace qm {

Reminders::Reminders(const AppointmentStore &store, QWidget *window)
    : QObject(window), m_store(store), m_window(window) {}

void Reminders::check() {
    if (m_checking)
        return;
    m_checking = true;
    // Whatever the check meets, it ends: a failure is reported, and the
    // timer that waits for the check runs again.
    if (!RunReported([this] { collect(); }) || m_waiting.isEmpty() || m_locked) {
        finish();
        return;
    }
    scheduleNext();
}

void Reminders::setLocked(bool locked) {
    m_locked = locked;
    if (!locked || !m_popUp)
        return;
    TfrmRemind *form = std::exchange(m_popUp, nullptr);
    disconnect(form, nullptr, this, nullptr);
    form->hide();
    form->deleteLater();
    if (m_showing)
        m_waiting.prepend(*std::exchange(m_showing, std::nullopt));
    finish();
}

TfrmRemind *Reminders::popUp() const {
    return m_popUp;
}

QStringList Reminders::alarmLines() {
    // An alarm file that cannot be read must not keep the appointments'
    // reminders from going off, nor bring up its report at every check.
    try {
        QStringList lines = LoadAlarmLines();
        m_alarmFileReported = false;
        return lines;
    } catch (const QuillmateError &error) {
        if (!m_alarmFileReported)
            ReportError(error);
        m_alarmFileReported = true;
        return {};
    }
}

void Reminders::collect() {
    const QDateTime now = clock().now();
    const QStringList alarms = alarmLines();
    // All at once, before any is shown: a once-only alarm taken out of the
    // file must not hide an equal line due in the same minute.
    while (const auto entry = m_watch.next(now, m_store.lines(), alarms)) {
        m_watch.shown(*entry);
        m_waiting.append(*entry);
    }
    m_watch.checked(now);
}

void Reminders::scheduleNext() {
    QTimer::singleShot(0, this, [this] { showNext(); });
}

void Reminders::showNext() {
    if (m_popUp || !m_checking)
        return;
    for (;;) {
        if (m_locked) {
            finish();
            return;
        }
        // What fell due while the last pop-up was up follows it.
        if (m_waiting.isEmpty() && (!RunReported([this] { collect(); }) || m_waiting.isEmpty())) {
            finish();
            return;
        }
        const ReminderEntry entry = m_waiting.takeFirst();
        if (RunReported([&] { show(entry); }))
            return;
        // Reported; the check goes on with the next entry.
    }
}

void Reminders::show(const ReminderEntry &entry) {
    const bool alarm = entry.kind == ReminderEntry::Alarm;
    const QString message =
        alarm ? AlarmMessage(entry.line) : AppointmentReminderMessage(entry.line);
    auto *form =
        new TfrmRemind(alarm ? TfrmRemind::AlarmTag : TfrmRemind::AppointmentTag, message, owner());
    connect(form, &QDialog::finished, this, [this] { closed(); });
    // Gone unclosed (its window went with another): shown again, not lost,
    // and the check goes on.
    connect(form, &QObject::destroyed, this, [this] {
        if (m_showing) {
            m_waiting.prepend(*std::exchange(m_showing, std::nullopt));
            scheduleNext();
        }
    });
    if (form->parentWidget() != m_window)
        form->parentWidget()->installEventFilter(this);
    m_popUp = form;
    m_showing = entry;
    form->show();
    emit popUpShown(form);
}

void Reminders::closed() {
    if (TfrmRemind *form = std::exchange(m_popUp, nullptr))
        form->deleteLater();
    const auto entry = std::exchange(m_showing, std::nullopt);
    if (entry && entry->kind == ReminderEntry::Alarm && !ReadAlarmLine(entry->line).everyDay()) {
        // A once-only alarm is used up. When its line cannot be taken out the
        // failure is reported and the alarm stays; it is not shown again today.
        RunReported([&] {
            if (RemoveAlarmLine(entry->line))
                emit alarmRemoved(entry->line);
        });
    }
    scheduleNext();
}

void Reminders::finish() {
    if (!m_checking)
        return;
    m_checking = false;
    emit finished();
}

QWidget *Reminders::owner() const {
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : m_window;
}

bool Reminders::eventFilter(QObject *watched, QEvent *event) {
    // The modal form the pop-up belongs to is closing: the pop-up moves to
    // the form's own window, or to the main window, before the form goes and
    // takes its children with it.
    if (event->type() == QEvent::Hide && m_popUp && watched == m_popUp->parentWidget()) {
        auto *form = static_cast<QWidget *>(watched);
        form->removeEventFilter(this);
        QWidget *next = form->parentWidget() ? form->parentWidget()->window() : m_window;
        m_popUp->setParent(next, m_popUp->windowFlags());
        if (next != m_window)
            next->installEventFilter(this);
        m_popUp->show();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qm
