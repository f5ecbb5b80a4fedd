#pragma once

#include "diary/AppointmentStore.h"
#include "diary/DiaryViews.h"
#include "diary/ui/TfrmAppointment.h"
#include "foundation/ui/Page.h"
#include "foundation/ui/RowSource.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QStringList>

#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class QShortcut;
class QTextDocument;
class QToolButton;

namespace qm {

class DiaryRowsModel;

// The font and colours a row of the list is drawn with, and its text as
// shown: cut with an ellipsis where it is wider than the row.
struct RowPaint {
    QFont font;
    QColor text;
    QColor background;
    QString shown;
};

class DiaryRowDelegate;

// The Diary & Tasks page: appointments, tasks and occasions in one list,
// `lstAppoints`, with a column of view buttons choosing what it shows.
class DiaryPage : public Page {
    Q_OBJECT
public:
    // What the list shows; every shared handler branches on it.
    enum class DiaryMode { Appoints, Tasks, Birth };

    explicit DiaryPage(QWidget *parent = nullptr);
    ~DiaryPage() override;

    // The names of the view buttons, as the "Diary Page" setting stores them.
    static const QStringList &ViewNames();

    // The name of the pressed view button ("Daily" until another is pressed).
    QString pressedViewName() const;
    // Presses the view button of that name; an unknown name changes nothing.
    // The list is rebuilt by the next RefreshDiaryView.
    void pressViewButton(const QString &name);
    // The "Include Completed" tick of the task view, `chkComplete`.
    bool showCompleted() const { return m_showCompleted; }
    void setShowCompleted(bool on);
    // Where the task and occasion views get their rows and commands; without
    // one a view is empty.
    void setRowSources(RowSource *tasks, RowSource *occasions);
    // The source of the rows on show; nullptr in the appointment views.
    RowSource *rowSource() const { return m_source; }
    // Row height of the list, by the screen's resolution; the list shows
    // whole rows only.
    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int pixels);

    // All appointments, `lstSorted`.
    AppointmentStore &store() { return m_store; }
    DiaryMode diaryMode() const { return m_mode; }
    // The appointment rows on show and their parallel lists (empty in the
    // task and occasion views, whose rows rowSource() holds).
    const DiaryRows &rows() const;
    int rowCount() const;
    // The selected row, -1 for none.
    int selectedRow() const;
    // How the row is drawn as the list stands (selected or not).
    RowPaint rowPaint(int row) const;
    void selectRow(int row);

    // Runs the handler of the pressed view button.
    void RefreshDiaryView();
    void spdDailyClick();
    void spdWeeklyClick();
    void spdMonthlyClick();
    void spdAllClick();
    void spdTasksClick();
    void spdBirthdaysClick();
    void chkCompleteClick();
    // Remembers whether completed tasks show; see RememberViewChoice.
    void storeShowCompleted();
    // Moving through time in the day, week and month views. A view button
    // shows its current period (the one holding today); the period shown
    // otherwise lasts for this run only and survives every change made in it.
    // The period of the pressed view button, none in the other views.
    std::optional<Period> shownPeriod() const;
    // A day of the period on show: today for the current one.
    QDate shownDay() const;
    // Moves steps periods on (negative: back); at the ends of the diary's
    // years the view stays.
    void stepPeriod(int steps);
    // Back to the current period.
    void showCurrentPeriod();
    // Shows the period holding a day; a period the diary cannot hold is
    // refused with a warning.
    void showPeriodOf(const QDate &day);
    // Opens the date picker on the shown day and shows the chosen date's period.
    void goToDate();
    void cmdDiaryAddClick();
    void cmdDiaryEditClick();
    void cmdDiaryDeleteClick();
    // Prints the list as the view shows it, once the print dialog is accepted.
    void cmdDiaryPrintClick();
    // The page cmdDiaryPrintClick prints: the heading and the rows on show.
    // The task view keeps its rows' colours and fonts; the other views print
    // plain, their day headings included.
    void composePrintPage(QTextDocument &page) const;

    void showStep() override;
    void leaveSave() override;
    QWidget *focusTarget() override;

protected:
    void build() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A double-click or Enter in the list: edit the row when there is one.
    void editFromList();
    void LoadAppointmentView(const ViewRange &range);
    void SelectNextAppointment();
    void showRows(DiaryRows rows, DiaryMode mode, const QString &heading);
    void showSourceRows(RowSource *source, DiaryMode mode, const QString &heading);
    void setHeading(DiaryMode mode, const QString &heading);
    // Rebuilds the list after a source's command changed its records and
    // selects the row the command asks for.
    void applyChange(const RowChange &change);
    void enableRowButtons();
    void showPeriod(Period period);
    // Shows, hides and names the previous and next buttons and turns the
    // period keys on or off for the view on show.
    void updatePeriodControls();
    QAbstractButton *viewButton(const QString &name) const;
    bool selectedAppointment(int *position) const;
    // Shows the appointment editor; a saved appointment rebuilds the view.
    void runAppointmentEditor(EditMode mode, int position);

    AppointmentStore m_store;
    QString m_view = QStringLiteral("Daily"); // the pressed view button's name
    QDate m_shown; // a day of the period on show; null for the current period
    bool m_refreshPending = false;
    DiaryMode m_mode = DiaryMode::Appoints;
    bool m_showCompleted = false;
    RowSource *m_taskSource = nullptr;
    RowSource *m_occasionSource = nullptr;
    RowSource *m_source = nullptr;
    int m_rowHeight = 16;

    QLabel *m_heading = nullptr;
    QFont m_headingFont; // before a long heading is fitted
    QCheckBox *m_complete = nullptr;
    QListView *m_list = nullptr;
    DiaryRowsModel *m_model = nullptr;
    DiaryRowDelegate *m_delegate = nullptr;
    QButtonGroup *m_views = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_print = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QList<QShortcut *> m_periodKeys;
};

} // namespace qm
