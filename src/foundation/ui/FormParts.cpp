#include "foundation/ui/FormParts.h"

#include "foundation/ui/Styling.h"

#include <QEvent>
#include <QPushButton>

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
