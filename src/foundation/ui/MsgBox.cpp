#include "foundation/ui/MsgBox.h"

#include "foundation/ui/FormParts.h"

#include "foundation/ColourScheme.h"
#include "foundation/Program.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "platform/ScreenMetrics.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

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

QLabel *makeImage(QWidget *parent, const QString &name, const QString &resource) {
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(SvgPixmap(resource, QSize(ImageSize, ImageSize)));
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

// The panel's margins around the text, and the dialog's around the panel.
constexpr int PanelExtraWidth = 56;
constexpr int PanelExtraHeight = 58;
constexpr int DialogExtraWidth = 28;
constexpr int DialogExtraHeight = 47;
// What the dialog adds around its text, the window frame included.
constexpr int DialogFrameWidth = PanelExtraWidth + DialogExtraWidth + 16;
constexpr int DialogFrameHeight = PanelExtraHeight + DialogExtraHeight + 40;
constexpr int MessageTextMinWidth = 100;
const QString Ellipsis = QStringLiteral("\u2026");

QRect textBounds(const QFontMetrics &metrics, int width, const QString &text) {
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20),
                                Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
}

// A word wider than width, cut into pieces that fit, one per line.
QString breakWord(const QString &word, const QFontMetrics &metrics, int width) {
    QString out;
    QString piece;
    for (const QChar c : word) {
        if (!piece.isEmpty() && metrics.horizontalAdvance(piece + c) > width) {
            out += piece + u'\n';
            piece.clear();
        }
        piece += c;
    }
    return out + piece;
}

void paintFace(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

QString FitMessageText(const QString &text, const QFontMetrics &metrics, int maxWidth,
                       int maxHeight) {
    QString fitted = text;
    if (textBounds(metrics, maxWidth, fitted).width() > maxWidth) {
        QStringList lines = text.split(u'\n');
        for (QString &line : lines) {
            QStringList words = line.split(u' ');
            for (QString &word : words)
                if (metrics.horizontalAdvance(word) > maxWidth)
                    word = breakWord(word, metrics, maxWidth);
            line = words.join(u' ');
        }
        fitted = lines.join(u'\n');
    }
    if (textBounds(metrics, maxWidth, fitted).height() <= maxHeight)
        return fitted;
    // Too tall: the longest beginning that fits, marked as cut.
    qsizetype low = 0;
    qsizetype high = fitted.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (textBounds(metrics, maxWidth, fitted.left(middle) + Ellipsis).height() <= maxHeight)
            low = middle;
        else
            high = middle - 1;
    }
    return fitted.left(low) + Ellipsis;
}

int ShowMessageBox(const QString &text, int kind, int buttons) {
    return prompter().showMessage(text, kind, buttons, FirstButtonResult(buttons));
}

bool ConfirmDiscarding(const QString &question) {
    return prompter().showMessage(question, MessageKind::Confirmation, MessageButtons::YesNo,
                                  MessageResult::No) == MessageResult::Yes;
}

void ShowCannotSave(const QString &reasons) {
    ShowMessageBox(CannotSaveHeading + reasons.left(reasons.size() - 1), MessageKind::Error,
                   MessageButtons::OK);
}

bool ConfirmLoseChanges() {
    return ConfirmDiscarding(LoseChangesQuestion);
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

int FirstButtonResult(int buttons) {
    return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::OK;
}

MessageBoxLayout LayoutMessageBox(QSize labelSize, int buttons) {
    MessageBoxLayout layout;
    const int labelWidth = labelSize.width();
    const int labelHeight = labelSize.height();
    int panelWidth = labelWidth + PanelExtraWidth;
    const int panelHeight = labelHeight + PanelExtraHeight;
    const int width = qMax(panelWidth + DialogExtraWidth, MessageBoxLayout::MinimumWidth);
    const int height = panelHeight + DialogExtraHeight;
    // A dialog held at its minimum width is wider than its text needs; the
    // panel then spans it less a small margin so the centred buttons lie on
    // the panel instead of straddling its edge.
    if (panelWidth + DialogExtraWidth < width)
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

TfrmMessageBox::TfrmMessageBox(const QString &text, int kind, int buttons, QWidget *parent,
                               int defaultResult)
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
    // The dialog never grows past the screen, so its buttons stay in reach
    // whatever the text (a corrupt file can put anything in a message).
    const QFontMetrics metrics(label->font());
    const QSize screen = screenMetrics().size();
    const int maxWidth =
        qMax(MessageTextMinWidth, qMin(MessageTextMaxWidth, screen.width() - DialogFrameWidth));
    const int maxHeight = qMax(metrics.height(), screen.height() - DialogFrameHeight);
    const QString shown = FitMessageText(displayText(text), metrics, maxWidth, maxHeight);
    label->setText(shown);

    // The label sizes itself to the text: its widest line once wrapped at
    // the maximum width, and the height it needs at that width.
    const QRect natural = textBounds(metrics, maxWidth, shown);
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

    // The default button answers Enter and has the focus; the others are
    // reached with Tab.
    const std::pair<QPushButton *, int> shownButtons[] = {{ok, MessageResult::OK},
                                                          {yes, MessageResult::Yes},
                                                          {no, MessageResult::No},
                                                          {cancel, MessageResult::Cancel}};
    QPushButton *chosen = m_layout.yes.isNull() ? ok : yes;
    for (const auto &[button, result] : shownButtons)
        if (result == defaultResult && !button->isHidden())
            chosen = button;
    for (const auto &[button, result] : shownButtons)
        button->setAutoDefault(button == chosen);
    chosen->setDefault(true);
    chosen->setFocus();
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

int StandardPrompter::showMessage(const QString &text, int kind, int buttons, int defaultResult) {
    TfrmMessageBox box(text, kind, buttons, QApplication::activeWindow(), defaultResult);
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
