#pragma once

#include "diary/ReminderQueue.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace qm {

class AppointmentStore;
class TfrmRemind;

// Shows the reminders and alarms that have come due, one pop-up after
// another, and uses up a once-only alarm once its pop-up has been closed. It
// has no timer of its own: the main window's timer calls check().
//
// The pop-ups are not modal: the user goes on working while one is up, and
// the next of a check follows from the event loop when one is closed.
class Reminders : public QObject {
    Q_OBJECT
public:
    Reminders(const AppointmentStore &store, QWidget *window);

    // Starts a check at the clock's time: every entry due since the previous
    // check is shown, the earliest first, and the check ends (finished())
    // when the last pop-up is closed; with nothing to show it ends at once. A
    // pop-up held open for minutes is followed by what fell due meanwhile. A
    // check asked for while one runs does nothing.
    void check();
    bool checking() const { return m_checking; }

    // While the program is locked no pop-up is shown: what comes due is held,
    // in order, and shown by the first check after unlocking. A pop-up on
    // show when the program locks is taken down and held again.
    void setLocked(bool locked);

    // The pop-up on show; nullptr when none is.
    TfrmRemind *popUp() const;

signals:
    // A pop-up has appeared.
    void popUpShown(TfrmRemind *popUp);
    // A once-only alarm has gone off and its line was taken out of "Alarm.Qmt".
    void alarmRemoved(const QString &line);
    // The check has ended: its last pop-up was closed.
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList alarmLines();
    // Moves everything due by now to the entries waiting to be shown.
    void collect();
    // Shows the next waiting entry, or ends the check when none is left.
    void showNext();
    void scheduleNext();
    void show(const ReminderEntry &entry);
    void closed();
    void finish();
    // The window a pop-up belongs to: an open modal form would otherwise keep
    // the pop-up from taking a click.
    QWidget *owner() const;

    const AppointmentStore &m_store;
    QWidget *m_window;
    ReminderWatch m_watch;
    QList<ReminderEntry> m_waiting;
    QPointer<TfrmRemind> m_popUp;
    std::optional<ReminderEntry> m_showing;
    bool m_checking = false;
    bool m_locked = false;
    bool m_alarmFileReported = false;
};

} // namespace qm
