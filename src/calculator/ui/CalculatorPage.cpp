#include "calculator/ui/CalculatorPage.h"

#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/Styling.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Where everything sits: one shadowed panel holding the display over a grid
// of five rows, the memory keys in a column of their own at the left.
constexpr int KeyWidth = 56;
constexpr int KeyHeight = 36;
constexpr int KeyGap = 6;
constexpr int MemoryGap = 16; // between the memory column and the rest
constexpr int Inset = 14;
constexpr int DisplayHeight = 44;
constexpr int GridLeft = Inset;
constexpr int GridTop = Inset + DisplayHeight + Inset;
constexpr int GridWidth = 5 * KeyWidth + 4 * KeyGap + MemoryGap;
constexpr int GridHeight = 5 * KeyHeight + 4 * KeyGap;
constexpr int BodyWidth = Inset + GridWidth + Inset + GradientPanel::ShadowOffset;
constexpr int BodyHeight = GridTop + GridHeight + Inset + GradientPanel::ShadowOffset;
constexpr int BodyLeft = (CalculatorPage::Width - BodyWidth) / 2;
constexpr int BodyTop = 24;
constexpr int DisplayPixels = 24;
constexpr int MemorySize = 20;
constexpr int MemoryPixels = 12;

struct Key {
    const char16_t *name;
    const char16_t *caption; // empty: the decimal separator
    const char16_t *hint;
    int row, column;
};

// Column 0 is the memory column.
constexpr Key Keys[] = {
    {u"spdMC", u"MC", u"Clear Memory", 0, 0},
    {u"spdMR", u"MR", u"Show Number Currently In Memory", 1, 0},
    {u"spdMS", u"MS", u"Store Displayed Number In Memory", 2, 0},
    {u"spdMPlus", u"M+", u"Add Displayed Number To Memory", 3, 0},
    {u"spdDel", u"Del", u"Delete Last Digit Of Displayed Number", 0, 1},
    {u"spdCE", u"CE", u"Clear Currently Displayed Number", 0, 2},
    {u"spdC", u"C", u"Cancel Entire Calculation", 0, 3},
    {u"spdDevide", u"/", u"Perform Division", 0, 4},
    {u"spd7", u"7", u"Put 7 In Calculator Display", 1, 1},
    {u"spd8", u"8", u"Put 8 In Calculator Display", 1, 2},
    {u"spd9", u"9", u"Put 9 In Calculator Display", 1, 3},
    {u"spdTimes", u"*", u"Perform Multiplication", 1, 4},
    {u"spd4", u"4", u"Put 4 In Calculator Display", 2, 1},
    {u"spd5", u"5", u"Put 5 In Calculator Display", 2, 2},
    {u"spd6", u"6", u"Put 6 In Calculator Display", 2, 3},
    {u"spdMinue", u"-", u"Perform Subtraction", 2, 4},
    {u"spd1", u"1", u"Put 1 In Calculator Display", 3, 1},
    {u"spd2", u"2", u"Put 2 In Calculator Display", 3, 2},
    {u"spd3", u"3", u"Put 3 In Calculator Display", 3, 3},
    {u"spdAdd", u"+", u"Perform Addition", 3, 4},
    {u"spd0", u"0", u"Put 0 In Calculator Display", 4, 1},
    {u"spdPlusMinus", u"+/-", u"Make Positive Number Negative Or Negative Number Positive", 4, 2},
    {u"spdPoint", u"", u"Insert Decimal Point", 4, 3},
    {u"spdEquals", u"=", u"Show Result Of Current Calculation", 4, 4},
};

QRect keyRect(const Key &key) {
    const int left = GridLeft + key.column * (KeyWidth + KeyGap) + (key.column > 0 ? MemoryGap : 0);
    return {left, GridTop + key.row * (KeyHeight + KeyGap), KeyWidth, KeyHeight};
}

} // namespace

CalculatorPage::CalculatorPage(QWidget *parent) : Page(u"tabCalculator"_s, parent) {
    SetHelpTopic(this, HelpTopic::Calculator);
}

void CalculatorPage::build() {
    auto *body = new GradientPanel(background(), 2);
    body->setObjectName(u"panCalculator"_s);
    body->setDropShadow(true);
    body->setGeometry(BodyLeft, BodyTop, BodyWidth, BodyHeight);

    m_value = new QLabel(body);
    m_value->setObjectName(u"staValue"_s);
    m_value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_value->setAutoFillBackground(true);
    QPalette palette = m_value->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_value->setPalette(palette);
    QFont font = m_value->font();
    font.setPixelSize(DisplayPixels);
    m_value->setFont(font);
    m_value->setGeometry(Inset, Inset, GridWidth, DisplayHeight);

    // The indicator sits inside the display, at its left end.
    m_memory = new QLabel(u"M"_s, m_value);
    m_memory->setObjectName(u"lblMemory"_s);
    m_memory->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_memory->setAlignment(Qt::AlignCenter);
    QFont small = m_memory->font();
    small.setPixelSize(MemoryPixels);
    small.setBold(true);
    m_memory->setFont(small);
    m_memory->setGeometry(6, (DisplayHeight - MemorySize) / 2, MemorySize, MemorySize);

    for (const Key &key : Keys) {
        const QString caption = QString::fromUtf16(key.caption);
        auto *button =
            MakeButton(body, QString::fromUtf16(key.name), caption, QString::fromUtf16(key.hint));
        button->setGeometry(keyRect(key));
        // Like speed buttons they never take the focus: the focus stays on
        // Close, and typing goes to the calculator from anywhere.
        button->setFocusPolicy(Qt::NoFocus);
        if (caption.isEmpty())
            m_point = button;
        connect(button, &QPushButton::clicked, this,
                Reported([this, button] { spd0Click(button); }));
    }

    addCloseButton(u"cmdCalcClose"_s);
    installEventFilter(this);
    showState();
}

void CalculatorPage::ResetCalculator(QChar decimalSep) {
    m_calculator.Reset(decimalSep);
    showState();
}

void CalculatorPage::CalculatorKey(const QString &key) {
    m_calculator.CalculatorKey(key);
    showState();
}

void CalculatorPage::spd0Click(QPushButton *button) {
    CalculatorKey(button->text());
}

void CalculatorPage::showState() {
    // Before the page is first shown there is nothing to show it on; build()
    // shows the state then.
    if (!m_value)
        return;
    m_value->setText(m_calculator.Display);
    m_memory->setVisible(m_calculator.MemoryIndicator());
    m_point->setText(m_calculator.DecimalSep);
}

QWidget *CalculatorPage::focusTarget() {
    return closeButton();
}

bool CalculatorPage::eventFilter(QObject *watched, QEvent *event) {
    // Close is the page's cancel button: Esc anywhere on the page closes.
    if (watched == this && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        RunReported([this] { emit closeRequested(); });
        return true;
    }
    return Page::eventFilter(watched, event);
}

} // namespace qm
