#include "diary/ui/TfrmCalendar.h"

#include "foundation/Dates.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Styling.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

const QString Caption = u"Select Date"_s;
const std::array<QString, 12> MonthCaptions = {u"Jan"_s, u"Feb"_s, u"Mar"_s, u"Apr"_s,
                                               u"May"_s, u"Jun"_s, u"Jul"_s, u"Aug"_s,
                                               u"Sep"_s, u"Oct"_s, u"Nov"_s, u"Dec"_s};

const QColor MonthColour = Qt::white;
const QColor ChosenMonthColour(0, 255, 255); // cyan

// Design sizes. The calendar panel is at least as wide as the calendar needs.
constexpr int Margin = 8;
constexpr int PanelWidth = 272;
constexpr int PanelPadding = 6;
constexpr int HeaderHeight = 26;
constexpr int ArrowSize = 22;
constexpr int MonthHeight = 22;
constexpr int MonthGap = 4;
constexpr int YearBoxWidth = 64;

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

QString centredCaption(const QString &text) {
    return u"<P align=\"center\">"_s + text + u"</P>"_s;
}

} // namespace

// A month button: a caption that acts on a click.
class MonthButton final : public QLabel {
public:
    MonthButton(QWidget *parent, std::function<void()> onClick)
        : QLabel(parent), m_onClick(std::move(onClick)) {
        setAutoFillBackground(true);
    }

    void setColour(const QColor &colour) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::WindowText, Qt::black);
        setPalette(palette);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

TfrmCalendar::TfrmCalendar(QLabel *pickerLabel, QLineEdit *pickerDateField, QWidget *parent)
    : QDialog(parent, FixedDialogFlags), m_pickerLabel(pickerLabel),
      m_pickerDateField(pickerDateField) {
    setObjectName(u"frmCalendar"_s);
    setWindowTitle(Caption);
    setModal(true);

    auto *back = new GradientPanel(this, 1);
    back->setObjectName(u"panBack"_s);

    // The calendar with a header of the form's own: the month in words and
    // the "<" and ">" buttons where a month calendar has its arrows. The
    // calendar's own navigation bar is hidden, so it cannot turn the page
    // behind the form's back.
    auto *calendarPanel = new GradientPanel(back, 2);
    calendarPanel->setObjectName(u"panCalendar"_s);
    calendarPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_calendarPanel = calendarPanel;

    m_header = new QWidget(calendarPanel);
    m_header->setObjectName(u"panCalendarHeader"_s);
    m_header->setAutoFillBackground(true);
    QPalette headerPalette = m_header->palette();
    headerPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    headerPalette.setColor(QPalette::WindowText, Qt::white);
    m_header->setPalette(headerPalette);

    m_caption = new QLabel(m_header);
    m_caption->setObjectName(u"lblCalendarMonth"_s);
    m_caption->setAlignment(Qt::AlignCenter);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);

    m_calendar = new QCalendarWidget(calendarPanel);
    m_calendar->setObjectName(u"mntCalendar"_s);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setDateEditEnabled(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    m_calendar->setGridVisible(false);
    m_calendar->setDateRange(QDate(EarliestCalendarYear, 1, 1), QDate(LatestCalendarYear, 12, 31));

    m_prev = MakeButton(m_header, u"cmdPrev"_s, u"<"_s, u"Previous Month|Move To Previous Month"_s);
    m_next = MakeButton(m_header, u"cmdNext"_s, u">"_s, u"Next Month|Move To Next Month"_s);

    // The month and year panel: the year box with its buttons, and the
    // twelve month buttons in two rows of six.
    auto *monthPanel = new GradientPanel(back, 3);
    monthPanel->setObjectName(u"panMonthYear"_s);
    monthPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    auto *prevYear =
        MakeButton(monthPanel, u"cmdPrevYear"_s, u"<"_s, u"Previous Year|Move To Next Year"_s);
    auto *nextYear =
        MakeButton(monthPanel, u"cmdNextYear"_s, u">"_s, u"Next Year|Move To Next Year"_s);

    m_year = new QLabel(monthPanel);
    m_year->setObjectName(u"panYear"_s);
    m_year->setTextFormat(Qt::PlainText);
    m_year->hide();

    m_yearShown = new QLabel(monthPanel);
    m_yearShown->setObjectName(u"panYear1"_s);
    m_yearShown->setTextFormat(Qt::RichText);
    m_yearShown->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_yearShown->setAutoFillBackground(true);
    QPalette yearPalette = m_yearShown->palette();
    yearPalette.setColor(QPalette::Window, Qt::white);
    yearPalette.setColor(QPalette::WindowText, Qt::black);
    m_yearShown->setPalette(yearPalette);
    m_yearShown->setFont(bold);

    for (int i = 0; i < 12; ++i) {
        const int month = i + 1;
        auto *button = new MonthButton(
            monthPanel, [this, month] { RunReported([this, month] { MonthClick(month); }); });
        button->setObjectName(u"pan"_s + QString::number(month));
        button->setTextFormat(Qt::RichText);
        button->setText(centredCaption(MonthCaptions[i]));
        button->setFrameStyle(QFrame::Panel | QFrame::Raised);
        button->setColour(MonthColour);
        SetColourRole(button, 0); // keeps its own colour when the form is styled
        m_months[i] = button;
    }

    m_select = MakeButton(back, u"cmdSelect"_s, u"&Select"_s,
                          u"Select High-Lighted Date And Close Window"_s, 12);
    auto *weekJump = MakeButton(back, u"cmdWeekJump"_s, u"&Today"_s,
                                u"Jump To Date|Jump To Specified Date"_s, 16);
    auto *cancel = MakeButton(back, u"cmdCancel"_s, u"&Cancel"_s, u"Cancel Date Selection"_s, 13);
    SilenceHints(this, {m_select, cancel});
    m_select->setDefault(true);

    connect(m_prev, &QPushButton::clicked, this, Reported([this] { cmdPrevClick(); }));
    connect(m_next, &QPushButton::clicked, this, Reported([this] { cmdNextClick(); }));
    connect(prevYear, &QPushButton::clicked, this, Reported([this] { cmdPrevYearClick(); }));
    connect(nextYear, &QPushButton::clicked, this, Reported([this] { cmdNextYearClick(); }));
    connect(weekJump, &QPushButton::clicked, this, Reported([this] { cmdWeekJumpClick(); }));
    connect(m_select, &QPushButton::clicked, this, Reported([this] { cmdSelectClick(); }));
    connect(cancel, &QPushButton::clicked, this, Reported([this] { cmdCancelClick(); }));
    connect(m_calendar, &QCalendarWidget::activated, this, Reported([this] {
                if (m_select->isEnabled())
                    cmdSelectClick();
            }));
    connect(m_calendar, &QCalendarWidget::currentPageChanged, this,
            Reported([this](int year, int month) { mntCalendarPageChanged(year, month); }));

    // Layout. The panels are as wide as the calendar needs, at least the
    // design width.
    const QSize calendarSize = m_calendar->sizeHint();
    const int panelWidth = qMax(PanelWidth, calendarSize.width() + 2 * PanelPadding + 4);
    calendarPanel->setGeometry(Margin, Margin, panelWidth,
                               PanelPadding + HeaderHeight + calendarSize.height() + PanelPadding);
    placeCalendar();

    const int monthWidth = (panelWidth - 2 * PanelPadding - 5 * MonthGap) / 6;
    const int monthsWidth = 6 * monthWidth + 5 * MonthGap;
    const int monthsLeft = (panelWidth - monthsWidth) / 2;
    const int yearTop = PanelPadding;
    const int yearLeft = (panelWidth - YearBoxWidth) / 2;
    prevYear->setGeometry(yearLeft - ArrowSize - MonthGap, yearTop, ArrowSize, MonthHeight);
    m_yearShown->setGeometry(yearLeft, yearTop, YearBoxWidth, MonthHeight);
    m_year->setGeometry(m_yearShown->geometry());
    nextYear->setGeometry(yearLeft + YearBoxWidth + MonthGap, yearTop, ArrowSize, MonthHeight);
    const int monthsTop = yearTop + MonthHeight + PanelPadding;
    for (int i = 0; i < 12; ++i) {
        const int row = i / 6;
        const int column = i % 6;
        m_months[i]->setGeometry(monthsLeft + column * (monthWidth + MonthGap),
                                 monthsTop + row * (MonthHeight + MonthGap), monthWidth,
                                 MonthHeight);
    }
    const int monthPanelTop = calendarPanel->geometry().bottom() + 1 + PanelPadding;
    const int monthPanelHeight = monthsTop + 2 * MonthHeight + MonthGap + PanelPadding;
    monthPanel->setGeometry(Margin, monthPanelTop, panelWidth, monthPanelHeight);

    const int buttonsTop = monthPanelTop + monthPanelHeight + Margin;
    const int buttonsWidth = 3 * ButtonWidth + 2 * Margin;
    int left = Margin + (panelWidth - buttonsWidth) / 2;
    for (QPushButton *button : {m_select, weekJump, cancel}) {
        button->setGeometry(left, buttonsTop, ButtonWidth, ButtonHeight);
        left += ButtonWidth + Margin;
    }

    const QSize formSize(panelWidth + 2 * Margin, buttonsTop + ButtonHeight + Margin);
    back->setGeometry(QRect(QPoint(0, 0), formSize));
    setFixedSize(formSize);
    m_calendar->setFocus();
}

int TfrmCalendar::ShownYear() const {
    return m_year->text().toInt();
}

void TfrmCalendar::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_prepared) {
        m_prepared = true;
        RunReported([this] { FormShow(); });
    }
    CentreForm(this);
}

void TfrmCalendar::FormShow() {
    CentreForm(this);
    StyleForm(this);
    placeCalendar();
    const QDate start =
        PickerStartDate(m_pickerDateField ? EntryText(m_pickerDateField) : QString(), today());
    setShownYear(start.year());
    MonthClick(start.month());
    showCalendarDate(start);
}

// The calendar keeps its natural size, centred across its panel, with the
// month arrows 5 pixels in from its left edge and 6 from its right edge.
void TfrmCalendar::placeCalendar() {
    const QSize size = m_calendar->sizeHint();
    const int left = (m_calendarPanel->width() - size.width()) / 2 - 2;
    m_header->setGeometry(left, PanelPadding, size.width(), HeaderHeight);
    m_calendar->setGeometry(left, PanelPadding + HeaderHeight, size.width(), size.height());
    const int arrowTop = (HeaderHeight - ArrowSize) / 2;
    m_prev->setGeometry(5, arrowTop, ArrowSize, ArrowSize);
    m_next->setGeometry(size.width() - ArrowSize - 6, arrowTop, ArrowSize, ArrowSize);
    m_caption->setGeometry(ArrowSize + 5, 0, size.width() - 2 * (ArrowSize + 6), HeaderHeight);
}

void TfrmCalendar::MonthClick(int month) {
    for (MonthButton *button : m_months)
        button->setColour(MonthColour);
    m_months[month - 1]->setColour(ChosenMonthColour);
    m_selectedMonth = month;
    showCalendarDate(MonthClickDate({m_selectedMonth, ShownYear()}, today()));
}

void TfrmCalendar::cmdPrevClick() {
    const PickerMonth to = PreviousMonth({m_selectedMonth, ShownYear()});
    setShownYear(to.year);
    MonthClick(to.month);
}

void TfrmCalendar::cmdNextClick() {
    const PickerMonth to = NextMonth({m_selectedMonth, ShownYear()});
    setShownYear(to.year);
    MonthClick(to.month);
}

void TfrmCalendar::cmdPrevYearClick() {
    setShownYear(PreviousPickerYear(ShownYear()));
    MonthClick(m_selectedMonth);
}

void TfrmCalendar::cmdNextYearClick() {
    setShownYear(NextPickerYear(ShownYear()));
    MonthClick(m_selectedMonth);
}

void TfrmCalendar::cmdWeekJumpClick() {
    const QDate now = today();
    setShownYear(now.year());
    MonthClick(now.month());
    showCalendarDate(now);
}

void TfrmCalendar::cmdSelectClick() {
    const QString picked = DateToDisplay(m_calendar->selectedDate());
    if (m_pickerLabel)
        SetLabelValid(m_pickerLabel);
    if (m_pickerDateField)
        m_pickerDateField->setText(picked);
    accept();
    if (m_pickerDateField && m_pickerDateField->isEnabled())
        m_pickerDateField->setFocus();
}

void TfrmCalendar::cmdCancelClick() {
    reject();
}

// The calendar turned its page itself (keyboard paging, arrow keys across
// the end of a month, the mouse wheel, a click on a day of the next or last
// month): the month buttons and the year box follow. When the selected day
// is not on the new page, the calendar shows the day a click on the month
// would give.
void TfrmCalendar::mntCalendarPageChanged(int year, int month) {
    m_caption->setText(MonthNames[month - 1] + u' ' + QString::number(year));
    if (!m_prepared || (month == m_selectedMonth && year == ShownYear()))
        return;
    const QDate selected = m_calendar->selectedDate();
    setShownYear(year);
    if (selected.year() == year && selected.month() == month) {
        for (MonthButton *button : m_months)
            button->setColour(MonthColour);
        m_months[month - 1]->setColour(ChosenMonthColour);
        m_selectedMonth = month;
    } else {
        MonthClick(month);
    }
}

void TfrmCalendar::setShownYear(int year) {
    const QString text = QString::number(year);
    m_year->setText(text);
    m_yearShown->setText(centredCaption(text));
}

void TfrmCalendar::showCalendarDate(const QDate &date) {
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
    m_caption->setText(MonthNames[date.month() - 1] + u' ' + QString::number(date.year()));
}

QDate TfrmCalendar::today() const {
    return clock().now().date();
}

} // namespace qm
