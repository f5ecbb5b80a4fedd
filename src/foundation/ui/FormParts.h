#pragma once

#include <QString>
#include <Qt>

#include <initializer_list>

class QPushButton;
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

// Hints that are not shown at all: neither as a pop-up tip nor in the main
// window's hint bar (which leaves these controls out). The hint text stays
// on each control. The filter lives as long as owner.
void SilenceHints(QWidget *owner, std::initializer_list<QWidget *> controls);
// Whether a control's hint is one of those.
bool IsHintSilent(const QWidget *control);

} // namespace qm
