#include "foundation/ui/FormParts.h"

#include "foundation/ui/Styling.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace qm {

namespace {

constexpr char SilentHintProperty[] = "silentHint";

class SilentHint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

} // namespace

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QString &hint, int imageIndex) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    if (imageIndex != 0)
        button->setProperty(ImageIndexProperty, imageIndex);
    return button;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, QRect where) {
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(where);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit *MakeEdit(QWidget *parent, const QString &name, QRect where, int maxLength) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(where);
    edit->setMaxLength(maxLength);
    return edit;
}

QToolButton *MakeGlyphButton(QWidget *parent, const QString &name, const QString &glyph,
                             const QString &hint, QPoint where) {
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setGeometry(where.x(), where.y(), GlyphButtonSize, GlyphButtonSize);
    return button;
}

void SilenceHints(QWidget *owner, std::initializer_list<QWidget *> controls) {
    auto *silent = new SilentHint(owner);
    for (QWidget *control : controls) {
        control->installEventFilter(silent);
        control->setProperty(SilentHintProperty, true);
    }
}

bool IsHintSilent(const QWidget *control) {
    return control->property(SilentHintProperty).toBool();
}

} // namespace qm
