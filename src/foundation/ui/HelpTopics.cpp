#include "foundation/ui/HelpTopics.h"

#include <QMetaEnum>
#include <QVariant>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace qm {

namespace {
constexpr char HelpTopicProperty[] = "helpTopic";
}

void SetHelpTopic(QWidget *widget, HelpTopic topic) {
    widget->setProperty(HelpTopicProperty, int(topic));
}

std::optional<HelpTopic> HelpTopicOf(const QWidget *widget) {
    // parentWidget() of a form is the window that opened it, so a picker
    // opened from an editor finds the editor's topic.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant topic = w->property(HelpTopicProperty);
        if (topic.isValid())
            return HelpTopic(topic.toInt());
    }
    return std::nullopt;
}

QString HelpPageUrl(HelpTopic topic) {
    const char *name = QMetaEnum::fromType<HelpTopic>().valueToKey(int(topic));
    return u"qrc:/help/"_s + QLatin1StringView(name ? name : "Contents") + u".html"_s;
}

} // namespace qm
