#pragma once

#include "foundation/ColourScheme.h"

#include <QColor>
#include <QFrame>
#include <QIcon>
#include <QList>

#include <functional>

class QPalette;
class QWidget;

// Giving every form its look from the current colour scheme, and centring it.
namespace qm {

// Dynamic properties read by StyleForm. A panel (QFrame or plain QWidget)
// carries its colour role 0 to 5 in "colourRole"; a button with a picture
// carries the index of its picture in the main window's small-button image
// list in "imageIndex".
inline constexpr char ColourRoleProperty[] = "colourRole";
inline constexpr char ImageIndexProperty[] = "imageIndex";

inline const QString ButtonFontName = QStringLiteral("MS Sans Serif");

// The colour a stored colour number stands for. System colours (top byte
// 0xFF) come from palette, the platform's, so they follow the desktop theme;
// an index with no counterpart gives the window background.
QColor ColourToQColor(ColourValue colour, const QPalette &palette);
QColor ColourToQColor(ColourValue colour); // against the application palette

// Supplies the picture for a button's image index; installed by the main
// window once its image list exists. Without one, pictures stay as they are.
using ButtonIconProvider = std::function<QIcon(int imageIndex)>;
void SetButtonIconProvider(ButtonIconProvider provider);

// Sets a panel's colour role (a convenience for the forms' layouts).
void SetColourRole(QWidget *panel, int role);

// Applies the current colour scheme and the fonts to every control of form.
// Forms call it each time they are shown; the configuration page calls it on
// the main window after a scheme change.
void StyleForm(QWidget *form);
// The same for the controls inside parent alone (a page made after its form
// was styled); parent itself keeps its look.
void StyleControls(QWidget *parent);

// The forms name the classic desktop fonts "MS Sans Serif" and "Comic Sans
// MS". Where they are missing, a font matcher may pick a decorative face for
// them (a script font for "Comic Sans MS"); this names plain, legible
// replacements instead. Called once at start-up, before any form is shown.
void InstallFontSubstitutes();

// The margin a caption keeps inside its control at each side.
inline constexpr int CaptionMargin = 4;
// Gives controls (labels and buttons that show one line of text) one font,
// their own made smaller in half points where needed, so that every caption
// fits its control with CaptionMargin at each side, inside a button's frame.
// Stops at 6 points.
void FitCaptionFont(const QList<QWidget *> &controls);

// Places form in the middle of the screen (screenMetrics()), divisions
// rounding toward zero.
void CentreForm(QWidget *form);

// The form's own controls in creation order, depth first, leaving out the
// widgets a compound control is built from (the entry field inside an
// editable combo box or a spin box, the parts of a calendar, popups): those
// belong to their control.
QList<QWidget *> FormControls(QWidget *form);

// A framed group panel painted with a vertical gradient from colour() at the
// top to endColour() at the bottom (solid when they are equal). A panel with
// a drop shadow keeps its face 5 pixels narrower and shorter than its
// geometry and paints the shadow in that strip, 5 pixels right and down.
class GradientPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(int colourRole READ colourRole WRITE setColourRole)
    Q_PROPERTY(QColor colour READ colour WRITE setColour)
    Q_PROPERTY(QColor endColour READ endColour WRITE setEndColour)
    Q_PROPERTY(bool dropShadow READ dropShadow WRITE setDropShadow)
public:
    static constexpr int ShadowOffset = 5;

    explicit GradientPanel(QWidget *parent = nullptr, int colourRole = 0);

    int colourRole() const { return m_colourRole; }
    void setColourRole(int role) { m_colourRole = role; }
    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);
    QColor endColour() const { return m_endColour; }
    void setEndColour(const QColor &colour);
    bool isGradient() const { return m_colour != m_endColour; }
    bool dropShadow() const { return m_dropShadow; }
    void setDropShadow(bool on);
    // The rectangle of the panel's face (without the shadow strip).
    QRect faceRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_colourRole = 0;
    QColor m_colour;
    QColor m_endColour;
    bool m_dropShadow = false;
};

} // namespace qm
