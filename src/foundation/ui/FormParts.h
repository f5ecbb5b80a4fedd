#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>

#include <functional>
#include <initializer_list>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

// Pieces every modal form of the program is made of.
namespace qm {

// A fixed single border and a caption without buttons: the form closes only
// through its own buttons (Enter and Esc).
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

// A push button with its objectName, caption and hint; imageIndex, when not
// 0, names its picture for StyleForm.
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QString &hint = {}, int imageIndex = 0);

// A caption label, left-aligned and centred vertically in where.
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, QRect where);
// A one-line entry field holding at most maxLength characters.
QLineEdit *MakeEdit(QWidget *parent, const QString &name, QRect where, int maxLength = 32767);
// A small square button with a picture beside an entry field. Like every
// picker button it never takes the focus, so the field the user is in stays
// the field being edited.
QToolButton *MakeGlyphButton(QWidget *parent, const QString &name, const QString &glyph,
                             const QString &hint, QPoint where);
// The side of a glyph button.
inline constexpr int GlyphButtonSize = 22;

// Opens a picker for an entry field: the picker writes its choice into field
// and clears the red mark of the field's caption label.
using FieldPicker = std::function<void(QLabel *label, QLineEdit *field)>;

// Hints that are not shown at all: neither as a pop-up tip nor in the main
// window's hint bar (which leaves these controls out). The hint text stays
// on each control. The filter lives as long as owner.
void SilenceHints(QWidget *owner, std::initializer_list<QWidget *> controls);
// Whether a control's hint is one of those.
bool IsHintSilent(const QWidget *control);

} // namespace qm
