#include "shell/MakerLinks.h"

#include "foundation/Dates.h"
#include "foundation/Program.h"
#include "shell/Maker.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace qm {

QString UpdateMailSubject() {
    return u"Quillmate Updates"_s;
}

QString UpdateMailBody() {
    const QString blankLine = u"   \r\r"_s;
    return u"Please inform me of updates to Quillmate"_s + blankLine + u"I am using Version "_s +
           ProgramVersion() + blankLine + u"Reference : "_s + MakerReference() + blankLine +
           u"Additional comments :"_s;
}

QString UpdateMailFailedMessage() {
    return u"Failed To Open Your Email System\r\rTo Be Informed Of Updates, Please Send An "
           u"Empty Email To : \r\r"_s +
           UpdateMailbox();
}

QString WebPageUrl(const QString &address) {
    if (QUrl(address).scheme().isEmpty())
        return u"https://"_s + address;
    return address;
}

QString AboutVersionText(const QDateTime &built) {
    return u"Version : "_s + ProgramVersion() + u".  Built : "_s +
           LongDateText(DateToDisplay(built.date()), false);
}

} // namespace qm
