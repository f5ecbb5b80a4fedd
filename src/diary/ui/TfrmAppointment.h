#pragma once

#include "foundation/EditMode.h"
#include "foundation/ui/EditorForm.h"

#include <QDate>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace qm {

class AppointmentStore;
struct DurationOutcome;

// The modal form in which one appointment is added or changed. Saving checks
// the entries and puts the appointment line into the store (which writes
// "Diary.Qmt"); see EditorForm for the rest.
class TfrmAppointment : public EditorForm {
    Q_OBJECT
public:
    // editedLine: EditedLine, the store position of the line being edited (ignored when adding).
    // day: when adding, the date the form starts with (none when null).
    TfrmAppointment(AppointmentStore &store, EditMode mode, qsizetype editedLine,
                    QWidget *parent = nullptr, const QDate &day = {});

protected:
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
    void cmdUpdateClick() override;

    void durationFromTimes();
    void workOutMaxDuration();
    void showDurationOutcome(const DurationOutcome &outcome);

    AppointmentStore &m_store;
    EditMode m_mode;
    qsizetype EditedLine;
    QDate m_day;
    int MaxDuration = 0;

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
};

} // namespace qm
