#include "diary/ui/DiaryPage.h"

#include "diary/ui/DiaryPrint.h"
#include "diary/ui/TfrmAppointment.h"
#include "diary/ui/TfrmCalendar.h"
#include "foundation/Dates.h"
#include "foundation/Settings.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Printing.h"
#include "foundation/ui/Styling.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QToolTip>

#include <utility>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString EditMissingMessage = u"You Must Select An Appointment To Edit"_s;
const QString DeleteMissingMessage = u"You Must Select An Appointment To Delete"_s;
const QString TaskHeading = u"Task List"_s;
const QString OccasionHeading = u"Birthdays, Anniversaries And Special Occasions List"_s;

struct ViewButton {
    QString name; // the "Diary Page" value
    QString objectName;
    QString caption;
    QString hint;
    void (DiaryPage::*click)();
};

// Top to bottom, as they stand beside the list.
const ViewButton ViewButtons[] = {
    {u"Daily"_s, u"spdDaily"_s, u"Today"_s, u"Show Appointments For Today"_s,
     &DiaryPage::spdDailyClick},
    {u"Weekly"_s, u"spdWeekly"_s, u"Week"_s, u"Show Appointments For This Week"_s,
     &DiaryPage::spdWeeklyClick},
    {u"Monthly"_s, u"spdMonthly"_s, u"Month"_s, u"Show Appointments For This Month"_s,
     &DiaryPage::spdMonthlyClick},
    {u"All"_s, u"spdAll"_s, u"All"_s, u"Show All Appointments"_s, &DiaryPage::spdAllClick},
    {u"Birthday"_s, u"spdBirthdays"_s, u"Occasions"_s,
     u"Show Birthday, Anniversaries And Special Occasions List"_s, &DiaryPage::spdBirthdaysClick},
    {u"Tasks"_s, u"spdTasks"_s, u"Tasks"_s, u"Show Task List"_s, &DiaryPage::spdTasksClick},
};

// The periods of the view buttons that show one.
std::optional<Period> PeriodOfView(const QString &name) {
    if (name == u"Daily"_s)
        return Period::Day;
    if (name == u"Weekly"_s)
        return Period::Week;
    if (name == u"Monthly"_s)
        return Period::Month;
    return std::nullopt;
}

// The heading stands between the previous and next buttons.
constexpr int HeadingLeft = 8 + GlyphButtonSize + 4;

const QString PreviousGlyph = u":/diary/step_previous.svg"_s;
const QString NextGlyph = u":/diary/step_next.svg"_s;
const QString ChooseDateHint = u"Show Appointments For A Chosen Date"_s;
const QString OutsideDiaryMessage = u"The Diary Holds Dates From 01/01/1899 To 31/12/2199"_s;

// The view buttons fill the strip between the list's panel and the page's
// right margin.
constexpr int ViewButtonWidth = 66;

// Marked rows: red (colour value 255), or the system window-text colour.
const QColor AlertColour{255, 0, 0};

} // namespace

// The rows of the list. The rows are plain data rebuilt whole by each view,
// so the model only hands them to the view; it never edits them. In the task
// and occasion views the rows are the source's.
class DiaryRowsModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    const DiaryRows &rows() const { return m_rows; }
    void setRows(DiaryRows rows, const RowSource *source) {
        beginResetModel();
        m_rows = std::move(rows);
        m_source = source;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override {
        if (parent.isValid())
            return 0;
        return int(m_source ? m_source->rows().size() : m_rows.size());
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
            return {};
        return m_source ? m_source->rows().texts.at(index.row()) : m_rows.text(index.row());
    }
    RowLook look(int row) const {
        if (m_source)
            return m_source->look(row);
        RowLook look;
        look.bold = m_rows.kind(row) == DiaryRows::Kind::Heading;
        return look;
    }

private:
    DiaryRows m_rows;
    const RowSource *m_source = nullptr;
};

namespace {

// The font and colours of a row: the list's own font and colours (the
// system highlight for the selected row), then the row's look. A marked row
// has the mark's colour as text on the list colour, or the other way round
// when selected.
// Where a row's text is drawn: 4 pixels in from the left, 2 down from the
// top, ending 4 pixels before the right edge.
QRect textRect(const QRect &row) {
    return row.adjusted(4, 2, -4, 0);
}

RowPaint paintFor(const QStyleOptionViewItem &option, const RowLook &look, const QString &text) {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    RowPaint paint;
    paint.font = option.font;
    paint.font.setBold(look.bold);
    paint.font.setStrikeOut(look.strikeOut);
    paint.background = palette.color(selected ? QPalette::Highlight : QPalette::Base);
    paint.text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (look.mark != RowLook::Mark::None) {
        const QColor mark = look.mark == RowLook::Mark::Alert
                                ? AlertColour
                                : QApplication::palette().color(QPalette::WindowText);
        const QColor list = palette.color(QPalette::Base);
        paint.background = selected ? mark : list;
        paint.text = selected ? list : mark;
    }
    // A dividing line runs on out of sight; only a cut text ends in "…".
    paint.shown = text == SeparatorRowText ? text
                                           : QFontMetrics(paint.font).elidedText(
                                                 text, Qt::ElideRight, textRect(option.rect).width());
    return paint;
}

} // namespace

// Draws every row at one fixed height in the row's font and colours. A text
// too long for the row ends in an ellipsis and shows whole as the row's tip.
class DiaryRowDelegate : public QStyledItemDelegate {
public:
    DiaryRowDelegate(const DiaryRowsModel *model, QObject *parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    int rowHeight = 16;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
        return {option.rect.width(), rowHeight};
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const RowPaint row =
            paintFor(option, m_model->look(index.row()), index.data(Qt::DisplayRole).toString());
        painter->save();
        painter->setClipRect(option.rect);
        painter->fillRect(option.rect, row.background);
        painter->setPen(row.text);
        painter->setFont(row.font);
        painter->drawText(textRect(option.rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          row.shown);
        painter->restore();
    }
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (paintFor(option, m_model->look(index.row()), text).shown != text)
            QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
        else
            QToolTip::hideText();
        return true;
    }

private:
    const DiaryRowsModel *m_model;
};

// While it has the focus from the keyboard, the list draws a ring in the
// highlight colour inside its frame, so the mark shows even when the list is
// empty and is not mistaken for the selected row.
class DiaryListView : public QListView {
public:
    using QListView::QListView;

protected:
    void paintEvent(QPaintEvent *event) override {
        QListView::paintEvent(event);
        if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
            return;
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    }
    void focusInEvent(QFocusEvent *event) override {
        QListView::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent *event) override {
        QListView::focusOutEvent(event);
        viewport()->update();
    }
};

DiaryPage::DiaryPage(QWidget *parent) : Page(u"tabDiary"_s, parent) {
    SetHelpTopic(this, HelpTopic::DiaryViews);
    m_model = new DiaryRowsModel(this);
    m_delegate = new DiaryRowDelegate(m_model, this);
}

void DiaryPage::build() {
    QWidget *back = background();

    m_heading = new QLabel(back);
    m_heading->setObjectName(u"lblHeading"_s);
    m_heading->setAlignment(Qt::AlignCenter);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_heading->setGeometry(HeadingLeft, 8, Width - 2 * HeadingLeft, 20);
    m_headingFont = m_heading->font();

    // The task view's filter, over the left end of the heading.
    m_complete = new QCheckBox(u"Include Completed"_s, back);
    m_complete->setObjectName(u"chkComplete"_s);
    m_complete->setGeometry(8, 8, 140, 20);
    m_complete->setVisible(false);
    m_complete->setChecked(m_showCompleted);
    connect(m_complete, &QCheckBox::clicked, this, Reported([this] { chkCompleteClick(); }));

    // Previous and next at the ends of the heading, in the views that show
    // one period; a click on the heading chooses a date.
    m_previous = MakeGlyphButton(back, u"spdPrevious"_s, PreviousGlyph, QString(), {8, 7});
    m_next = MakeGlyphButton(back, u"spdNext"_s, NextGlyph, QString(),
                             {Width - 8 - GlyphButtonSize, 7});
    connect(m_previous, &QToolButton::clicked, this, Reported([this] { stepPeriod(-1); }));
    connect(m_next, &QToolButton::clicked, this, Reported([this] { stepPeriod(1); }));
    m_heading->installEventFilter(this);
    const std::pair<QKeySequence, std::function<void()>> periodKeys[] = {
        {QKeySequence(Qt::Key_PageUp), [this] { stepPeriod(-1); }},
        {QKeySequence(Qt::Key_PageDown), [this] { stepPeriod(1); }},
        {QKeySequence(Qt::ALT | Qt::Key_Left), [this] { stepPeriod(-1); }},
        {QKeySequence(Qt::ALT | Qt::Key_Right), [this] { stepPeriod(1); }},
        {QKeySequence(Qt::Key_Home), [this] { showCurrentPeriod(); }},
        {QKeySequence(Qt::ALT | Qt::Key_Home), [this] { showCurrentPeriod(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_G), [this] { goToDate(); }},
    };
    for (const auto &[key, run] : periodKeys) {
        // Only while the diary page is on show and holds the focus; in the
        // other views the keys keep their meaning in the list.
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, Reported(run));
        m_periodKeys.append(shortcut);
    }

    auto *listPanel = new GradientPanel(back, 3);
    listPanel->setObjectName(u"panAppoints"_s);
    listPanel->setGeometry(8, 32, 400, 322);

    m_list = new DiaryListView(listPanel);
    m_list->setObjectName(u"lstAppoints"_s);
    m_list->setModel(m_model);
    m_list->setItemDelegate(m_delegate);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Edit is the page's default action: a double-click on a row, or Enter in
    // the list, edits it. Not the list's activation, which some styles give
    // to a single click.
    connect(m_list, &QListView::doubleClicked, this, Reported([this] { editFromList(); }));
    m_list->installEventFilter(this);

    m_views = new QButtonGroup(this);
    m_views->setExclusive(true);
    const int buttonHeight = 322 / int(std::size(ViewButtons));
    int top = 32;
    QList<QWidget *> viewButtons;
    for (const ViewButton &view : ViewButtons) {
        auto *button = new QToolButton(back);
        button->setObjectName(view.objectName);
        button->setText(view.caption);
        button->setToolTip(view.hint);
        button->setCheckable(true);
        button->setGeometry(Width - 8 - ViewButtonWidth, top, ViewButtonWidth, buttonHeight - 4);
        top += buttonHeight;
        viewButtons.append(button);
        m_views->addButton(button);
        // A view button shows its current period.
        connect(button, &QToolButton::clicked, this,
                Reported([this, name = view.name, click = view.click] {
                    m_view = name;
                    m_shown = QDate();
                    (this->*click)();
                }));
    }
    FitCaptionFont(viewButtons);
    viewButton(m_view)->setChecked(true);

    struct Command {
        QPushButton **button;
        QString objectName, caption, hint;
        int imageIndex;
        void (DiaryPage::*click)();
    };
    const Command commands[] = {
        {&m_edit, u"cmdDiaryEdit"_s, u"&Edit"_s, u"Edit High-Lighted Record"_s, 3,
         &DiaryPage::cmdDiaryEditClick},
        {&m_add, u"cmdDiaryAdd"_s, u"&Add"_s, u"Add New Record"_s, 4, &DiaryPage::cmdDiaryAddClick},
        {&m_delete, u"cmdDiaryDelete"_s, u"&Delete"_s, u"Delete High-Lighted Record"_s, 5,
         &DiaryPage::cmdDiaryDeleteClick},
        {&m_print, u"cmdDiaryPrint"_s, u"&Print"_s, u"Print List"_s, 2,
         &DiaryPage::cmdDiaryPrintClick},
    };
    int left = 8;
    for (const Command &command : commands) {
        QPushButton *button =
            MakeButton(back, command.objectName, command.caption, command.hint, command.imageIndex);
        button->setGeometry(left, Height - 35, 75, 25);
        left += 81;
        if (command.click)
            connect(button, &QPushButton::clicked, this,
                    Reported([this, click = command.click] { (this->*click)(); }));
        *command.button = button;
    }
    addCloseButton(u"cmdDiaryClose"_s)->setProperty(ImageIndexProperty, 6);
    m_edit->setEnabled(false);
    m_delete->setEnabled(false);

    setRowHeight(m_rowHeight);
    // A view asked for before the controls existed is shown now.
    if (std::exchange(m_refreshPending, false))
        RefreshDiaryView();
}

DiaryPage::~DiaryPage() = default;

const DiaryRows &DiaryPage::rows() const {
    return m_model->rows();
}

int DiaryPage::rowCount() const {
    return m_model->rowCount();
}

void DiaryPage::setShowCompleted(bool on) {
    m_showCompleted = on;
    if (m_complete)
        m_complete->setChecked(on);
}

void DiaryPage::setRowSources(RowSource *tasks, RowSource *occasions) {
    m_taskSource = tasks;
    m_occasionSource = occasions;
}

const QStringList &DiaryPage::ViewNames() {
    static const QStringList names = {u"Daily"_s, u"Weekly"_s, u"Monthly"_s,
                                      u"Tasks"_s, u"All"_s,    u"Birthday"_s};
    return names;
}

QAbstractButton *DiaryPage::viewButton(const QString &name) const {
    for (const ViewButton &view : ViewButtons)
        if (view.name == name)
            return findChild<QAbstractButton *>(view.objectName);
    return nullptr;
}

QString DiaryPage::pressedViewName() const {
    return m_view;
}

void DiaryPage::pressViewButton(const QString &name) {
    if (!ViewNames().contains(name))
        return;
    m_view = name;
    m_shown = QDate();
    if (QAbstractButton *button = viewButton(name))
        button->setChecked(true);
}

void DiaryPage::setRowHeight(int pixels) {
    m_rowHeight = pixels;
    m_delegate->rowHeight = pixels;
    if (!isBuilt())
        return;
    // Whole rows only: the list is as many rows high as fit in its panel.
    const int frame = 2 * m_list->frameWidth();
    const int inner = 322 - 8 - frame;
    m_list->setGeometry(4, 4, 392, inner / pixels * pixels + frame);
    m_list->doItemsLayout();
}

int DiaryPage::selectedRow() const {
    if (!m_list)
        return -1;
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

RowPaint DiaryPage::rowPaint(int row) const {
    QStyleOptionViewItem option;
    option.initFrom(m_list);
    option.font = m_list->font();
    option.state.setFlag(QStyle::State_Selected, row == selectedRow());
    option.rect = m_list->visualRect(m_model->index(row));
    return paintFor(option, m_model->look(row),
                    m_model->data(m_model->index(row), Qt::DisplayRole).toString());
}

void DiaryPage::selectRow(int row) {
    if (!m_list)
        return;
    if (row < 0 || row >= m_model->rowCount()) {
        m_list->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(index);
}

void DiaryPage::RefreshDiaryView() {
    // Nothing to show before the page is first built; it shows the view then.
    if (!isBuilt()) {
        m_refreshPending = true;
        return;
    }
    for (const ViewButton &view : ViewButtons)
        if (view.name == m_view)
            (this->*view.click)();
}

void DiaryPage::setHeading(DiaryMode mode, const QString &heading) {
    m_mode = mode;
    SetHelpTopic(this, mode == DiaryMode::Tasks   ? HelpTopic::Tasks
                       : mode == DiaryMode::Birth ? HelpTopic::Occasions
                                                  : HelpTopic::DiaryViews);
    m_heading->setText(heading);
    // A long heading (another week's, a long day name's) gets a smaller type
    // rather than run under the previous and next buttons.
    m_heading->setFont(m_headingFont);
    FitCaptionFont({m_heading});
    // The filter belongs to the task view alone.
    m_complete->setVisible(mode == DiaryMode::Tasks);
    updatePeriodControls();
}

void DiaryPage::updatePeriodControls() {
    const std::optional<Period> period = m_mode == DiaryMode::Appoints ? shownPeriod() : std::nullopt;
    m_previous->setVisible(period.has_value());
    m_next->setVisible(period.has_value());
    for (QShortcut *key : std::as_const(m_periodKeys))
        key->setEnabled(period.has_value());
    m_heading->setToolTip(period ? ChooseDateHint : QString());
    m_heading->setCursor(period ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (!period)
        return;
    const QString name = *period == Period::Day    ? u"Day"_s
                         : *period == Period::Week ? u"Week"_s
                                                   : u"Month"_s;
    m_previous->setToolTip(u"Show Appointments For The Previous "_s + name);
    m_next->setToolTip(u"Show Appointments For The Next "_s + name);
}

std::optional<Period> DiaryPage::shownPeriod() const {
    return PeriodOfView(m_view);
}

QDate DiaryPage::shownDay() const {
    return m_shown.isValid() ? m_shown : clock().now().date();
}

void DiaryPage::showPeriodOf(const QDate &day) {
    const std::optional<Period> period = shownPeriod();
    if (!period)
        return;
    if (!IsDiaryPeriod(*period, day)) {
        ShowMessageBox(OutsideDiaryMessage, MessageKind::Warning, MessageButtons::OK);
        return;
    }
    // The current period follows the clock, as a view button's does.
    m_shown = SamePeriod(*period, day, clock().now().date()) ? QDate() : day;
    RefreshDiaryView();
}

void DiaryPage::stepPeriod(int steps) {
    if (const std::optional<Period> period = shownPeriod())
        showPeriodOf(StepPeriod(*period, shownDay(), steps));
}

void DiaryPage::showCurrentPeriod() {
    showPeriodOf(clock().now().date());
}

void DiaryPage::goToDate() {
    if (!shownPeriod())
        return;
    // The picker fills a date field; this one is never shown and, disabled,
    // never takes the focus.
    QLineEdit field;
    field.setEnabled(false);
    field.setText(DateToDisplay(shownDay()));
    TfrmCalendar picker(nullptr, &field, window());
    if (prompter().runModal(picker) != QDialog::Accepted)
        return;
    showPeriodOf(TextToDate(field.text()));
}

void DiaryPage::showPeriod(Period period) {
    LoadAppointmentView(PeriodView(period, shownDay(), clock().now().date()));
}

void DiaryPage::showRows(DiaryRows rows, DiaryMode mode, const QString &heading) {
    if (!isBuilt())
        return;
    m_source = nullptr;
    m_model->setRows(std::move(rows), nullptr);
    setHeading(mode, heading);
    SelectNextAppointment();
    enableRowButtons();
}

void DiaryPage::showSourceRows(RowSource *source, DiaryMode mode, const QString &heading) {
    if (!isBuilt())
        return;
    // Read before anything changes, so a file that cannot be read leaves the
    // list as it was.
    const int select = source ? source->load(clock().now().date(), m_showCompleted) : -1;
    m_source = source;
    m_model->setRows({}, source);
    setHeading(mode, heading);
    selectRow(select);
    enableRowButtons();
}

void DiaryPage::applyChange(const RowChange &change) {
    if (!change.changed())
        return;
    RefreshDiaryView();
    const int last = rowCount() - 1;
    switch (change.select) {
    case RowChange::Select::Last:
        selectRow(last);
        break;
    case RowChange::Select::Row:
        selectRow(change.row);
        break;
    case RowChange::Select::RowOrLast:
        selectRow(qMin(change.row, last));
        break;
    case RowChange::Select::First:
    case RowChange::Select::Unchanged:
        break;
    }
}

void DiaryPage::enableRowButtons() {
    const bool any = rowCount() > 0;
    m_edit->setEnabled(any);
    m_delete->setEnabled(any);
    m_print->setEnabled(any);
    // A view without a source has nothing to add to.
    m_add->setEnabled(m_mode == DiaryMode::Appoints || m_source);
}

void DiaryPage::LoadAppointmentView(const ViewRange &range) {
    showRows(qm::LoadAppointmentView(m_store.lines(), range.from, range.to), DiaryMode::Appoints,
             range.heading);
}

void DiaryPage::SelectNextAppointment() {
    if (m_mode != DiaryMode::Appoints)
        return;
    selectRow(int(qm::SelectNextAppointment(rows(), clock().now())));
}

void DiaryPage::spdDailyClick() {
    showPeriod(Period::Day);
}

void DiaryPage::spdWeeklyClick() {
    showPeriod(Period::Week);
}

void DiaryPage::spdMonthlyClick() {
    showPeriod(Period::Month);
}

void DiaryPage::spdAllClick() {
    LoadAppointmentView(AllView());
}

void DiaryPage::spdTasksClick() {
    if (!isBuilt())
        return;
    setShowCompleted(Settings(settingsStore()).showCompleted());
    showSourceRows(m_taskSource, DiaryMode::Tasks, TaskHeading);
}

void DiaryPage::chkCompleteClick() {
    m_showCompleted = m_complete->isChecked();
    showSourceRows(m_taskSource, DiaryMode::Tasks, TaskHeading);
    storeShowCompleted();
}

void DiaryPage::storeShowCompleted() {
    RememberViewChoice([on = m_showCompleted] { Settings(settingsStore()).setShowCompleted(on); });
}

void DiaryPage::spdBirthdaysClick() {
    showSourceRows(m_occasionSource, DiaryMode::Birth, OccasionHeading);
}

bool DiaryPage::selectedAppointment(int *position) const {
    const int row = selectedRow();
    if (row < 0 || !IsAppointmentRow(rows().rowMap(row)))
        return false;
    *position = int(rows().position(row));
    return *position >= 0 && *position < m_store.size();
}

void DiaryPage::runAppointmentEditor(EditMode mode, int position) {
    // A new appointment from another day's view is for that day.
    const bool otherDay = m_view == u"Daily"_s && m_shown.isValid();
    TfrmAppointment form(m_store, mode, position, window(), otherDay ? m_shown : QDate());
    prompter().runModal(form);
    if (form.RecordSaved())
        RefreshDiaryView();
}

void DiaryPage::cmdDiaryAddClick() {
    if (m_mode != DiaryMode::Appoints) {
        if (m_source)
            applyChange(m_source->add(window()));
        return;
    }
    runAppointmentEditor(EditMode::Add, -1);
}

void DiaryPage::cmdDiaryEditClick() {
    if (m_mode != DiaryMode::Appoints) {
        if (m_source)
            applyChange(m_source->edit(selectedRow(), window()));
        return;
    }
    int position = -1;
    if (!selectedAppointment(&position)) {
        ShowMessageBox(EditMissingMessage, MessageKind::Warning, MessageButtons::OK);
        return;
    }
    runAppointmentEditor(EditMode::Edit, position);
}

void DiaryPage::cmdDiaryDeleteClick() {
    if (m_mode != DiaryMode::Appoints) {
        if (m_source)
            applyChange(m_source->remove(selectedRow()));
        return;
    }
    int position = -1;
    if (!selectedAppointment(&position)) {
        ShowMessageBox(DeleteMissingMessage, MessageKind::Warning, MessageButtons::OK);
        return;
    }
    const QString question = DeleteQuestion(rows().text(selectedRow()));
    if (ShowMessageBox(question, MessageKind::Confirmation, MessageButtons::YesNo) !=
        MessageResult::Yes)
        return;
    m_store.remove(position);
    RefreshDiaryView();
}

void DiaryPage::composePrintPage(QTextDocument &page) const {
    QList<PrintRow> printed;
    printed.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row) {
        if (!m_source) {
            printed.append({rows().text(row), {}});
            continue;
        }
        // Only the task rows carry their look onto paper.
        const RowLook look = m_mode == DiaryMode::Tasks ? m_source->look(row) : RowLook();
        printed.append({m_source->rows().texts.at(row), look});
    }
    ComposeDiaryPrint(page, m_heading ? m_heading->text() : QString(), printed);
}

void DiaryPage::cmdDiaryPrintClick() {
    // The heading names the job, as the print queue lists it.
    PrintDocument([this](QTextDocument &page) { composePrintPage(page); }, m_heading->text(),
                  window(), u"The List Could Not Be Printed"_s);
}

void DiaryPage::editFromList() {
    if (m_edit->isEnabled())
        cmdDiaryEditClick();
}

bool DiaryPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_heading && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && shownPeriod()) {
        RunReported([this] { goToDate(); });
        return true;
    }
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunReported([this] { editFromList(); });
            return true;
        }
    }
    return Page::eventFilter(watched, event);
}

void DiaryPage::showStep() {
    if (m_view == u"Birthday"_s)
        spdBirthdaysClick();
}

void DiaryPage::leaveSave() {
    // A view choice that cannot be stored never keeps the user on the page.
    storeShowCompleted();
}

QWidget *DiaryPage::focusTarget() {
    return m_list;
}

} // namespace qm
