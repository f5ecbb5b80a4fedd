#include "shell/ui/SmallButtonImages.h"

#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {
constexpr QSize ButtonPictureSize(16, 16);
} // namespace

SmallButtonImages::SmallButtonImages(QObject *parent) : QObject(parent) {
    setObjectName(u"imgSmallButtons"_s);
    SetButtonIconProvider([this](int index) { return icon(index); });
}

SmallButtonImages::~SmallButtonImages() {
    SetButtonIconProvider({});
}

QString SmallButtonImages::resource(int index) {
    static const struct {
        int index;
        const char *name;
    } pictures[] = {{Print, "print"}, {Edit, "edit"}, {Add, "add"},       {Delete, "delete"},
                    {Close, "close"}, {Save, "save"}, {Cancel, "cancel"}, {Today, "today"}};
    for (const auto &picture : pictures)
        if (picture.index == index)
            return u":/shell/button_"_s + QLatin1StringView(picture.name) + u".svg"_s;
    return {};
}

QIcon SmallButtonImages::icon(int index) {
    const auto found = m_drawn.constFind(index);
    if (found != m_drawn.constEnd())
        return *found;
    const QString source = resource(index);
    const QIcon drawn = source.isEmpty() ? QIcon() : SvgIcon(source, ButtonPictureSize);
    m_drawn.insert(index, drawn);
    return drawn;
}

} // namespace qm
