#include "foundation/ui/MsgBox.h"

#include "foundation/ui/FormParts.h"

#include "foundation/ColourScheme.h"
#include "foundation/Program.h"
#include "foundation/ui/Styling.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

const QString DialogCaption = ProgramTitle();
const QString TextFontName = u"MS Sans Serif"_s;
const QString ButtonsFontName = u"Comic Sans MS"_s;
constexpr int FontPointSize = 8;
constexpr int ImageSize = 32;
constexpr int PairWidth = 153; // two buttons and the gap between them
constexpr int PairStep = 80;   // from the left of the first button to the second
constexpr int ClampedMargin = 8;

constexpr ColourValue HighColourFace = 0xDEDEDE; // light grey
constexpr ColourValue LowColourFace = 0x80FFFF;  // light yellow

bool isKnownKind(int kind) {
    return kind == MessageKind::Confirmation || kind == MessageKind::Information ||
           kind == MessageKind::Error || kind == MessageKind::Warning;
}

// The program writes "\r" for a line break; the label wants "\n".
QString displayText(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QPixmap renderIcon(const QString &resource) {
    QPixmap pixmap(ImageSize, ImageSize);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QLabel *makeImage(QWidget *parent, const QString &name, const QString &resource) {
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(renderIcon(resource));
    image->hide();
    return image;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(QFont(ButtonsFontName, FontPointSize));
    button->hide();
    return button;
}

void placeButton(QPushButton *button, const QRect &where) {
    if (where.isNull())
        return;
    button->setGeometry(where);
    button->show();
}

void paintFace(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

int ShowMessageBox(const QString &text, int kind, int buttons) {
    return prompter().showMessage(text, kind, buttons);
}

void ShowCannotSave(const QString &reasons) {
    ShowMessageBox(CannotSaveHeading + reasons.left(reasons.size() - 1), MessageKind::Error,
                   MessageButtons::OK);
}

bool ConfirmLoseChanges() {
    return ShowMessageBox(LoseChangesQuestion, MessageKind::Confirmation, MessageButtons::YesNo) ==
           MessageResult::Yes;
}

int DismissResult(int buttons) {
    switch (buttons) {
    case MessageButtons::YesNo:
        return MessageResult::No;
    case MessageButtons::OKCancel:
        return MessageResult::Cancel;
    default:
        return MessageResult::OK;
    }
}

MessageBoxLayout LayoutMessageBox(QSize labelSize, int buttons) {
    MessageBoxLayout layout;
    const int labelWidth = labelSize.width();
    const int labelHeight = labelSize.height();
    int panelWidth = labelWidth + 56;
    const int panelHeight = labelHeight + 58;
    const int width = qMax(panelWidth + 28, MessageBoxLayout::MinimumWidth);
    const int height = panelHeight + 47;
    // A dialog held at its minimum width is wider than its text needs; the
    // panel then spans it less a small margin so the centred buttons lie on
    // the panel instead of straddling its edge.
    if (panelWidth + 28 < width)
        panelWidth = width - 2 * ClampedMargin;
    layout.dialog = QSize(width, height);
    layout.panel =
        QRect((width - panelWidth) / 2, (height - panelHeight) / 2, panelWidth, panelHeight);
    layout.image = QPoint(8, 8);
    layout.label = QRect(48, 8, labelWidth, labelHeight);

    // Button positions are centred on the dialog, then given on the panel.
    const int top = labelHeight + 22;
    const QSize size(MessageBoxLayout::ButtonWidth, MessageBoxLayout::ButtonHeight);
    const int single = (width - MessageBoxLayout::ButtonWidth) / 2 - layout.panel.left();
    const int first = (width - PairWidth) / 2 - layout.panel.left();
    switch (buttons) {
    case MessageButtons::YesNo:
        layout.yes = QRect(QPoint(first, top), size);
        layout.no = QRect(QPoint(first + PairStep, top), size);
        break;
    case MessageButtons::OKCancel:
        layout.ok = QRect(QPoint(first, top), size);
        layout.cancel = QRect(QPoint(first + PairStep, top), size);
        break;
    default: // an unknown set still gets a way out
        layout.ok = QRect(QPoint(single, top), size);
        break;
    }
    return layout;
}

TfrmMessageBox::TfrmMessageBox(const QString &text, int kind, int buttons, QWidget *parent)
    : QDialog(parent, FixedDialogFlags), m_buttons(buttons), m_result(DismissResult(buttons)) {
    setObjectName(u"frmMessageBox"_s);
    setWindowTitle(DialogCaption);
    setModal(true);

    auto *panel = new QFrame(this);
    panel->setObjectName(u"panMessage"_s);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);

    QLabel *images[] = {
        makeImage(panel, u"imgConfirmation"_s, u":/foundation/msg_question.svg"_s),
        makeImage(panel, u"imgInformation"_s, u":/foundation/msg_information.svg"_s),
        makeImage(panel, u"imgError"_s, u":/foundation/msg_error.svg"_s),
        makeImage(panel, u"imgWarning"_s, u":/foundation/msg_warning.svg"_s),
    };
    QLabel *image = images[(isKnownKind(kind) ? kind : MessageKind::Information) - 1];

    auto *label = new QLabel(panel);
    label->setObjectName(u"lblMessage"_s);
    label->setFont(QFont(TextFontName, FontPointSize));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QString shown = displayText(text);
    label->setText(shown);

    // The label sizes itself to the text: its widest line once wrapped at
    // the maximum width, and the height it needs at that width.
    const QFontMetrics metrics(label->font());
    const QRect natural =
        metrics.boundingRect(QRect(0, 0, MessageTextMaxWidth, 1 << 20),
                             Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown);
    const int labelWidth = natural.width() + 1;
    const int labelHeight = qMax(label->heightForWidth(labelWidth), metrics.height());

    auto *ok = makeButton(panel, u"cmdOK"_s, u"&Ok"_s);
    auto *yes = makeButton(panel, u"cmdYes"_s, u"&Yes"_s);
    auto *no = makeButton(panel, u"cmdNo"_s, u"&No"_s);
    auto *cancel = makeButton(panel, u"cmdCancel"_s, u"&Cancel"_s);
    connect(ok, &QPushButton::clicked, this, [this] { finishWith(MessageResult::OK); });
    connect(yes, &QPushButton::clicked, this, [this] { finishWith(MessageResult::Yes); });
    connect(no, &QPushButton::clicked, this, [this] { finishWith(MessageResult::No); });
    connect(cancel, &QPushButton::clicked, this, [this] { finishWith(MessageResult::Cancel); });

    m_layout = LayoutMessageBox(QSize(labelWidth, labelHeight), buttons);
    setFixedSize(m_layout.dialog);
    panel->setGeometry(m_layout.panel);
    image->move(m_layout.image);
    image->resize(ImageSize, ImageSize);
    image->show();
    label->setGeometry(m_layout.label);
    placeButton(ok, m_layout.ok);
    placeButton(yes, m_layout.yes);
    placeButton(no, m_layout.no);
    placeButton(cancel, m_layout.cancel);

    // The first button answers Enter; the others are reached with Tab.
    QPushButton *first = m_layout.yes.isNull() ? ok : yes;
    first->setDefault(true);
    first->setFocus();
}

void TfrmMessageBox::reject() {
    // Escape and the window manager's close request: the least harmful answer.
    finishWith(DismissResult(m_buttons));
}

void TfrmMessageBox::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    CentreForm(this);
    const QColor face = ColourToQColor(ColourMode() == u"256"_s ? LowColourFace : HighColourFace);
    paintFace(findChild<QFrame *>(u"panMessage"_s), face);
    for (const auto &name : {u"cmdOK"_s, u"cmdYes"_s, u"cmdNo"_s, u"cmdCancel"_s})
        paintFace(findChild<QPushButton *>(name), face);
}

void TfrmMessageBox::finishWith(int result) {
    m_result = result;
    done(result);
}

int StandardPrompter::showMessage(const QString &text, int kind, int buttons) {
    TfrmMessageBox box(text, kind, buttons, QApplication::activeWindow());
    box.exec();
    return box.messageResult();
}

void StandardPrompter::showSystemInformation(const QString &title, const QString &text) {
    QMessageBox::information(nullptr, title, displayText(text));
}

int StandardPrompter::runModal(QDialog &dialog) {
    return dialog.exec();
}

} // namespace qm
