#include "diary/ui/TfrmSelTime.h"

#include "diary/DatePickerRules.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Styling.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

const QString Caption = u"Select Time"_s;

// Design sizes.
constexpr int Margin = 8;
constexpr int ListPanelWidth = 92;
constexpr int ListWidth = 64;
constexpr int CaptionHeight = 20;
constexpr int VisibleRows = 8;
constexpr int SelectedHeight = 44;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

// The shown time: white bold figures on a dark face, readable on every
// colour scheme's panel.
const QColor SelectedFace(0, 0, 128);

QListWidget *makeList(QWidget *panel, const QString &name, const QString &caption,
                      const QStringList &items) {
    auto *label = new QLabel(caption, panel);
    label->setObjectName(u"lbl"_s + name.mid(3));
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setGeometry(0, Margin / 2, ListPanelWidth, CaptionHeight);

    auto *list = new QListWidget(panel);
    list->setObjectName(name);
    list->addItems(items);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setTextAlignment(Qt::AlignCenter);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setUniformItemSizes(true);
    const int rowHeight = list->sizeHintForRow(0);
    const int height = VisibleRows * rowHeight + 2 * list->frameWidth();
    list->setGeometry((ListPanelWidth - ListWidth) / 2, Margin / 2 + CaptionHeight, ListWidth,
                      height);
    return list;
}

} // namespace

TfrmSelTime::TfrmSelTime(QLabel *pickerLabel, QLineEdit *pickerTimeField, QWidget *parent)
    : QDialog(parent, FixedDialogFlags), m_pickerLabel(pickerLabel),
      m_pickerTimeField(pickerTimeField) {
    setObjectName(u"frmSelTime"_s);
    setWindowTitle(Caption);
    setModal(true);

    auto *back = new GradientPanel(this, 1);
    back->setObjectName(u"panBack"_s);

    const int width = 3 * Margin + 2 * ListPanelWidth;
    auto *selectedPanel = new GradientPanel(back, 2);
    selectedPanel->setObjectName(u"panSelected"_s);
    selectedPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    selectedPanel->setGeometry(Margin, Margin, width - 2 * Margin, SelectedHeight);

    m_selected = new QLabel(selectedPanel);
    m_selected->setObjectName(u"lblSelected"_s);
    m_selected->setAlignment(Qt::AlignCenter);
    m_selected->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_selected->setAutoFillBackground(true);
    QPalette palette = m_selected->palette();
    palette.setColor(QPalette::Window, SelectedFace);
    palette.setColor(QPalette::WindowText, Qt::white);
    m_selected->setPalette(palette);
    QFont font = m_selected->font();
    font.setBold(true);
    font.setPointSize(14);
    m_selected->setFont(font);
    m_selected->setGeometry((selectedPanel->width() - 96) / 2, 6, 96, SelectedHeight - 12);

    const int listsTop = Margin + SelectedHeight + Margin;
    auto *hourPanel = new GradientPanel(back, 3);
    hourPanel->setObjectName(u"panHour"_s);
    hourPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *minsPanel = new GradientPanel(back, 3);
    minsPanel->setObjectName(u"panMins"_s);
    minsPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_hour = makeList(hourPanel, u"lstHour"_s, u"Hour"_s, HourItems());
    m_mins = makeList(minsPanel, u"lstMins"_s, u"Mins"_s, MinuteItems());
    const int listPanelHeight = m_hour->geometry().bottom() + 1 + Margin;
    hourPanel->setGeometry(Margin, listsTop, ListPanelWidth, listPanelHeight);
    minsPanel->setGeometry(2 * Margin + ListPanelWidth, listsTop, ListPanelWidth, listPanelHeight);

    m_select = MakeButton(back, u"cmdSelect"_s, u"&Select"_s,
                          u"Select High-Lighted Time And Close Window"_s, 12);
    auto *cancel = MakeButton(back, u"cmdCancel"_s, u"&Cancel"_s, u"Cancel Time Selection"_s, 13);
    SilenceHints(this, {m_select, cancel});
    m_select->setDefault(true);

    const int buttonsTop = listsTop + listPanelHeight + Margin;
    const int buttonsLeft = (width - 2 * ButtonWidth - Margin) / 2;
    m_select->setGeometry(buttonsLeft, buttonsTop, ButtonWidth, ButtonHeight);
    cancel->setGeometry(buttonsLeft + ButtonWidth + Margin, buttonsTop, ButtonWidth, ButtonHeight);

    const QSize formSize(width, buttonsTop + ButtonHeight + Margin);
    back->setGeometry(QRect(QPoint(0, 0), formSize));
    setFixedSize(formSize);

    for (QListWidget *list : {m_hour, m_mins}) {
        connect(list, &QListWidget::itemClicked, this, Reported([this] { lstClick(); }));
        connect(list, &QListWidget::currentRowChanged, this, Reported([this] { lstClick(); }));
        connect(list, &QListWidget::itemDoubleClicked, this,
                Reported([this] { lstDoubleClick(); }));
    }
    connect(m_select, &QPushButton::clicked, this, Reported([this] { cmdSelectClick(); }));
    connect(cancel, &QPushButton::clicked, this, Reported([this] { cmdCancelClick(); }));
    m_hour->setFocus();
}

void TfrmSelTime::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_prepared) {
        m_prepared = true;
        RunReported([this] { FormShow(); });
    }
    CentreForm(this);
}

void TfrmSelTime::FormShow() {
    CentreForm(this);
    StyleForm(this);
    const TimeListChoice choice =
        ChooseTimeListItems(m_pickerTimeField ? EntryText(m_pickerTimeField) : QString());
    SelectListItem(m_hour, choice.hour);
    if (choice.hourAtTop) {
        if (QListWidgetItem *item = m_hour->currentItem())
            m_hour->scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
    SelectListItem(m_mins, choice.minute);
    lstClick();
}

void TfrmSelTime::lstClick() {
    m_selected->setText(PickedTime(selectedItem(m_hour), selectedItem(m_mins)));
}

void TfrmSelTime::lstDoubleClick() {
    if (m_select->isEnabled())
        cmdSelectClick();
}

void TfrmSelTime::cmdSelectClick() {
    if (m_pickerLabel)
        SetLabelValid(m_pickerLabel);
    if (m_pickerTimeField)
        m_pickerTimeField->setText(m_selected->text());
    accept();
    if (m_pickerTimeField)
        m_pickerTimeField->setFocus();
}

void TfrmSelTime::cmdCancelClick() {
    reject();
}

QString TfrmSelTime::selectedItem(const QListWidget *list) const {
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

} // namespace qm
