#include "diary/ui/Reminders.h"

#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmRemind.h"
#include "foundation/AlarmFile.h"
#include "foundation/ui/ErrorReport.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QGuiApplication>
#include <QScopeGuard>

namespace qm {

Reminders::Reminders(const AppointmentStore &store, QWidget *window)
    : QObject(window), m_store(store), m_window(window) {}

void Reminders::check() {
    if (m_checking)
        return;
    m_checking = true;
    const auto done = qScopeGuard([this] { m_checking = false; });
    for (;;) {
        const QDateTime now = clock().now();
        const auto entry = m_watch.next(now, m_store.lines(), alarmLines());
        if (!entry) {
            m_watch.checked(now);
            return;
        }
        m_watch.shown(*entry);
        show(*entry);
    }
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

void Reminders::show(const ReminderEntry &entry) {
    const bool alarm = entry.kind == ReminderEntry::Alarm;
    TfrmRemind form(alarm ? TfrmRemind::AlarmTag : TfrmRemind::AppointmentTag,
                    alarm ? AlarmMessage(entry.line) : AppointmentReminderMessage(entry.line),
                    m_window);
    {
        // The check at start-up runs under the busy cursor; the pop-up waits
        // for the user and shows the normal one.
        const bool busy = QGuiApplication::overrideCursor() != nullptr;
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        const auto restore = qScopeGuard([busy] {
            if (busy)
                QGuiApplication::restoreOverrideCursor();
        });
        prompter().runModal(form);
    }
    if (!alarm || ReadAlarmLine(entry.line).everyDay())
        return;
    // A once-only alarm is used up. When its line cannot be taken out the
    // failure is reported and the alarm stays; it is not shown again today.
    RunReported([&] {
        if (RemoveAlarmLine(entry.line))
            emit alarmRemoved(entry.line);
    });
}

} // namespace qm
