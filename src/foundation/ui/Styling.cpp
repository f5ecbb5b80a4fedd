#include "foundation/ui/Styling.h"

#include "platform/ScreenMetrics.h"
#include "platform/Services.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

ButtonIconProvider g_iconProvider;

const QString ComicSans = u"Comic Sans MS"_s;
constexpr int StandardDpi = 96;

// The platform palette's counterpart of each system colour index.
QColor systemColour(int index, const QPalette &palette) {
    using P = QPalette;
    switch (index) {
    case 0:  // scroll bar
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
        return palette.color(P::Active, P::Button);
    case 1:  // desktop
    case 12: // application workspace
    case 16: // button shadow
        return palette.color(P::Active, P::Dark);
    case 2:  // active caption
    case 13: // highlight
    case 27: // gradient of the active caption
    case 29: // menu highlight
        return palette.color(P::Active, P::Highlight);
    case 3:  // inactive caption
    case 28: // gradient of the inactive caption
        return palette.color(P::Active, P::Mid);
    case 4:  // menu
    case 30: // menu bar
        return palette.color(P::Active, P::Window);
    case 5: // window background
        return palette.color(P::Active, P::Base);
    case 6:  // window frame
    case 21: // dark 3D shadow
        return palette.color(P::Active, P::Shadow);
    case 7: // menu text
    case 8: // window text
        return palette.color(P::Active, P::WindowText);
    case 9:  // caption text
    case 14: // highlighted text
        return palette.color(P::Active, P::HighlightedText);
    case 17: // grey text
    case 19: // inactive caption text
        return palette.color(P::Disabled, P::WindowText);
    case 18: // button text
        return palette.color(P::Active, P::ButtonText);
    case 20: // button highlight
        return palette.color(P::Active, P::Light);
    case 22: // 3D light
        return palette.color(P::Active, P::Midlight);
    case 23: // tool tip text
        return palette.color(P::Active, P::ToolTipText);
    case 24: // tool tip background
        return palette.color(P::Active, P::ToolTipBase);
    case 26: // hot-tracked item
        return palette.color(P::Active, P::Link);
    default:
        return palette.color(P::Active, P::Window);
    }
}

bool isMainWindow(const QWidget *form) {
    return qobject_cast<const QMainWindow *>(form) || form->objectName() == u"frmMain"_s ||
           form->inherits("qm::TfrmMain");
}

// Controls whose child widgets are their own inner parts.
bool isCompound(const QWidget *widget) {
    return qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QCalendarWidget *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget) ||
           qobject_cast<const QTextEdit *>(widget) ||
           qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QLineEdit *>(widget);
}

void collectControls(const QWidget *parent, QList<QWidget *> &out) {
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow())
            continue;
        out.append(widget);
        if (!isCompound(widget))
            collectControls(widget, out);
    }
}

void setRole(QWidget *widget, QPalette::ColorRole role, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void setFontFamily(QWidget *widget, const QString &family) {
    QFont font = widget->font();
    font.setFamily(family);
    widget->setFont(font);
}

int intProperty(const QWidget *widget, const char *name, bool *present) {
    const QVariant value = widget->property(name);
    *present = value.isValid();
    return value.toInt();
}

void styleGradientPanel(GradientPanel *panel, const ColourScheme &scheme) {
    const int role = panel->colourRole();
    if (const auto colour = scheme.panelColour(role)) {
        // Roles 4 and 5 have no gradient end: such a panel is painted solid.
        const ColourValue end = scheme.panelEndColour(role).value_or(*colour);
        panel->setColour(ColourToQColor(*colour));
        panel->setEndColour(ColourToQColor(end));
    }
    const QFont font = panel->font();
    if (font.family() == ComicSans && font.pointSize() == 10) {
        QFont smaller = font;
        smaller.setFamily(ButtonFontName);
        smaller.setPointSize(8);
        panel->setFont(smaller);
    }
}

void stylePlainPanel(QWidget *panel, int role, const ColourScheme &scheme) {
    if (const auto colour = scheme.panelColour(role)) {
        panel->setAutoFillBackground(true);
        setRole(panel, QPalette::Window, ColourToQColor(*colour));
    }
}

void styleControl(QWidget *widget, const ColourScheme &scheme, int dpi) {
    bool hasImage = false;
    const int imageIndex = intProperty(widget, ImageIndexProperty, &hasImage);
    if (auto *button = qobject_cast<QAbstractButton *>(widget); button && hasImage) {
        if (imageIndex != 0 && g_iconProvider)
            button->setIcon(g_iconProvider(imageIndex));
        setFontFamily(button, ButtonFontName);
    }
    if (qobject_cast<QPushButton *>(widget))
        setFontFamily(widget, ButtonFontName);

    auto *gradient = qobject_cast<GradientPanel *>(widget);
    bool hasRole = false;
    const int role = intProperty(widget, ColourRoleProperty, &hasRole);
    if (gradient)
        styleGradientPanel(gradient, scheme);
    else if (hasRole)
        stylePlainPanel(widget, role, scheme);

    const QColor field = ColourToQColor(scheme.FieldColour);
    if (auto *edit = qobject_cast<QLineEdit *>(widget); edit && !edit->isReadOnly())
        setRole(edit, QPalette::Base, field);
    if (auto *edit = qobject_cast<QTextEdit *>(widget); edit && !edit->isReadOnly())
        setRole(edit, QPalette::Base, field);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(widget); edit && !edit->isReadOnly())
        setRole(edit, QPalette::Base, field);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget); spin && !spin->isReadOnly())
        setRole(spin, QPalette::Base, field);

    if (qobject_cast<QAbstractItemView *>(widget))
        setRole(widget, QPalette::Base, ColourToQColor(scheme.ListColour));

    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        QPalette palette = combo->palette();
        palette.setColor(QPalette::Base, field);
        if (!combo->isEditable())
            palette.setColor(QPalette::Button, field);
        combo->setPalette(palette);
    }

    if (gradient && gradient->dropShadow()) {
        gradient->setDropShadow(true);
        if (dpi != StandardDpi)
            gradient->setFont(QFont()); // an empty font inherits the parent's
    }
}

} // namespace

QColor ColourToQColor(ColourValue colour, const QPalette &palette) {
    if (IsSystemColour(colour))
        return systemColour(static_cast<int>(colour & 0xFFu), palette);
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

QColor ColourToQColor(ColourValue colour) {
    return ColourToQColor(colour, QApplication::palette());
}

void SetButtonIconProvider(ButtonIconProvider provider) {
    g_iconProvider = std::move(provider);
}

void SetColourRole(QWidget *panel, int role) {
    panel->setProperty(ColourRoleProperty, role);
}

QList<QWidget *> FormControls(QWidget *form) {
    QList<QWidget *> controls;
    if (form)
        collectControls(form, controls);
    return controls;
}

void StyleForm(QWidget *form) {
    if (!isMainWindow(form))
        setRole(form, QPalette::Window, ColourToQColor(SystemButtonFaceColour));
    StyleControls(form);
}

void StyleControls(QWidget *parent) {
    const ColourScheme &scheme = CurrentColourScheme();
    const int dpi = screenMetrics().logicalDpi();
    for (QWidget *control : FormControls(parent))
        styleControl(control, scheme, dpi);
}

void InstallFontSubstitutes() {
    const QStringList plain = {u"Tahoma"_s, u"Verdana"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s,
                               u"Arial"_s};
    QFont::insertSubstitutions(ComicSans, plain);
    QFont::insertSubstitutions(ButtonFontName, plain);
}

namespace {
// The room a control gives its caption, and the caption as drawn.
int captionRoom(const QWidget *control) {
    const bool button = qobject_cast<const QAbstractButton *>(control);
    const int frame = button ? control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    return control->width() - 2 * (CaptionMargin + frame);
}
QString shownCaption(const QWidget *control) {
    QString text = control->property("text").toString();
    // A button's "&" marks its key; "&&" shows one "&".
    if (qobject_cast<const QAbstractButton *>(control))
        text.replace(u"&&"_s, u"\x01"_s).remove(u'&').replace(u'\x01', u'&');
    return text;
}
} // namespace

void FitCaptionFont(const QList<QWidget *> &controls) {
    if (controls.isEmpty())
        return;
    QFont font = controls.first()->font();
    constexpr qreal Smallest = 6;
    const auto fits = [&controls](const QFont &candidate) {
        const QFontMetrics metrics(candidate);
        for (const QWidget *control : controls)
            if (metrics.horizontalAdvance(shownCaption(control)) > captionRoom(control))
                return false;
        return true;
    };
    while (!fits(font) && font.pointSizeF() - 0.5 >= Smallest)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QWidget *control : controls)
        control->setFont(font);
}

void CentreForm(QWidget *form) {
    const QSize screen = screenMetrics().size();
    const QSize size = form->frameGeometry().size();
    form->move((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
}

GradientPanel::GradientPanel(QWidget *parent, int colourRole)
    : QFrame(parent), m_colourRole(colourRole) {
    m_colour = palette().color(QPalette::Window);
    m_endColour = m_colour;
}

void GradientPanel::setColour(const QColor &colour) {
    m_colour = colour;
    update();
}

void GradientPanel::setEndColour(const QColor &colour) {
    m_endColour = colour;
    update();
}

void GradientPanel::setDropShadow(bool on) {
    if (m_dropShadow == on)
        return;
    m_dropShadow = on;
    // The shadow strip lies outside the contents, so child layouts and the
    // frame stay on the face.
    const QMargins margins = contentsMargins();
    const int delta = on ? ShadowOffset : -ShadowOffset;
    setContentsMargins(margins.left(), margins.top(), margins.right() + delta,
                       margins.bottom() + delta);
    update();
}

QRect GradientPanel::faceRect() const {
    return m_dropShadow ? rect().adjusted(0, 0, -ShadowOffset, -ShadowOffset) : rect();
}

void GradientPanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect face = faceRect();
    if (m_dropShadow)
        painter.fillRect(face.translated(ShadowOffset, ShadowOffset), QColor(0, 0, 0, 96));
    if (isGradient()) {
        QLinearGradient gradient(face.topLeft(), face.bottomLeft());
        gradient.setColorAt(0, m_colour);
        gradient.setColorAt(1, m_endColour);
        painter.fillRect(face, gradient);
    } else {
        painter.fillRect(face, m_colour);
    }
    drawFrame(&painter);
}

} // namespace qm
