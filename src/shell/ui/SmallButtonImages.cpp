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
    const char *name = nullptr;
    switch (index) {
    case Print:
        name = "print";
        break;
    case Edit:
        name = "edit";
        break;
    case Add:
        name = "add";
        break;
    case Delete:
        name = "delete";
        break;
    case Close:
        name = "close";
        break;
    case Save:
        name = "save";
        break;
    case Cancel:
        name = "cancel";
        break;
    case Today:
        name = "today";
        break;
    default:
        return {};
    }
    return u":/shell/button_"_s + QLatin1StringView(name) + u".svg"_s;
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
