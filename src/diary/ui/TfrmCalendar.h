#pragma once

#include "diary/DatePickerRules.h"

#include <QDialog>

#include <array>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class MonthButton;

// The date picker, "Select Date". The caller names the date field to fill
// and its caption label, then runs the form modally (prompter().runModal).
// The form prepares itself when it is first shown.
//
// On Select the form writes the chosen date, dd/mm/yyyy with DateSep, into
// the field, gives the label the window-text colour (clearing a red mark left
// by an earlier check) and puts the focus back into the field when the field
// is enabled; the form then accepts. Cancel (or Esc) changes nothing and
// rejects.
//
// Every change of the shown month goes through the form's month and year
// logic: the month buttons pan1 to pan12, the year box, the "<" and ">"
// buttons, "&Today", and the calendar's own keyboard and wheel paging, which
// the form follows.
class TfrmCalendar : public QDialog {
    Q_OBJECT
public:
    TfrmCalendar(QLabel *pickerLabel, QLineEdit *pickerDateField, QWidget *parent = nullptr);

    // The month whose button is cyan, and the year of the year box.
    int SelectedMonth() const { return m_selectedMonth; }
    int ShownYear() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void placeCalendar();
    void MonthClick(int month);
    void cmdPrevClick();
    void cmdNextClick();
    void cmdPrevYearClick();
    void cmdNextYearClick();
    void cmdWeekJumpClick();
    void cmdSelectClick();
    void cmdCancelClick();
    void mntCalendarPageChanged(int year, int month);

    void setShownYear(int year);
    void showCalendarDate(const QDate &date);
    QDate today() const;

    QLabel *m_pickerLabel;
    QLineEdit *m_pickerDateField;
    bool m_prepared = false;
    int m_selectedMonth = 1;

    QWidget *m_calendarPanel = nullptr;
    QWidget *m_header = nullptr;
    QLabel *m_caption = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_year = nullptr;      // panYear: hidden, the year as plain text
    QLabel *m_yearShown = nullptr; // panYear1: the year as rich text
    std::array<MonthButton *, 12> m_months{};
    QPushButton *m_select = nullptr;
};

} // namespace qm
