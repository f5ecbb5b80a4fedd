#pragma once

#include "foundation/EditMode.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qm {

class AppointmentStore;
struct DurationOutcome;

// The modal form in which one appointment is added or changed. Saving checks
// the entries, puts the appointment line into the store (which writes
// "Diary.Qmt") and accepts the form; Cancel (or Esc) rejects it, asking first
// when anything was changed. It closes only through these two buttons.
class TfrmAppointment : public QDialog {
    Q_OBJECT
public:
    // editedLine: EditedLine, the store position of the line being edited (ignored when adding).
    TfrmAppointment(AppointmentStore &store, EditMode mode, qsizetype editedLine,
                    QWidget *parent = nullptr);
    // True once Save stored the appointment (the caller then rebuilds its view).
    bool RecordSaved() const { return m_recordSaved; }

    // Esc and the window manager's close request go through Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormShow();

    void txtDateExit();
    void txtStartExit();
    void txtEndExit();
    void txtDurationEnter();
    void txtDurationExit();
    void txtRemindExit();
    void spnDurationClick(int direction);
    void spnRemindClick(int direction);
    void chkReminderClick();
    void spdTodayClick();
    void spdSelDateClick();
    void spdStartClick();
    void spdEndClick();
    void cmdUpdateClick();
    void cmdCancelClick();

    void durationFromTimes();
    void workOutMaxDuration();
    void showDurationOutcome(const DurationOutcome &outcome);

    AppointmentStore &m_store;
    EditMode m_mode;
    qsizetype EditedLine;
    int MaxDuration = 0;
    bool m_recordSaved = false;

    QLabel *lblDate = nullptr;
    QLineEdit *txtDate = nullptr;
    QToolButton *spdSelDate = nullptr;
    QToolButton *spdToday = nullptr;
    QLabel *lblStart = nullptr;
    QLineEdit *txtStart = nullptr;
    QToolButton *spdStart = nullptr;
    QLabel *lblEnd = nullptr;
    QLineEdit *txtEnd = nullptr;
    QToolButton *spdEnd = nullptr;
    QLineEdit *txtDuration = nullptr;
    QWidget *spnDuration = nullptr; // up/down arrows beside txtDuration
    QLineEdit *txtDescription = nullptr;
    QCheckBox *chkReminder = nullptr;
    QLabel *lblRemind = nullptr;
    QLineEdit *txtRemind = nullptr;
    QWidget *spnRemind = nullptr;
    QLabel *lblRemindMins = nullptr;
    QCheckBox *chkTentative = nullptr;
    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace qm
