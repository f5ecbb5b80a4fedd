#pragma once

#include "diary/ReminderQueue.h"

#include <QObject>
#include <QString>

class QWidget;

namespace qm {

class AppointmentStore;

// Shows the reminders and alarms that have come due, one pop-up after
// another, and uses up a once-only alarm once its pop-up has been seen. It
// has no timer of its own: the main window's timer calls check().
class Reminders : public QObject {
    Q_OBJECT
public:
    Reminders(const AppointmentStore &store, QWidget *window);

    // One check at the clock's time: every entry due since the previous check
    // is shown, the earliest first, and the check ends when the last pop-up
    // is closed. A pop-up held open for minutes is followed by what fell due
    // meanwhile. A check asked for while one runs does nothing.
    void check();

signals:
    // A once-only alarm has gone off and its line was taken out of "Alarm.Qmt".
    void alarmRemoved(const QString &line);

private:
    QStringList alarmLines();
    void show(const ReminderEntry &entry);

    const AppointmentStore &m_store;
    QWidget *m_window;
    ReminderWatch m_watch;
    bool m_checking = false;
    bool m_alarmFileReported = false;
};

} // namespace qm
