#include "foundation/MailAddress.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Never part of a plain mailbox: the URL's own delimiters and escape, and
// what a mail address reads as a second recipient, a comment, a route, a
// quoted part or a group.
bool isDelimiter(QChar c) {
    return QStringView(u"?&#%()<>[]:;@\\,\"").contains(c);
}

bool isHidden(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format: // among them the marks that reverse the text shown
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return true;
    default:
        return c.isSpace();
    }
}

// Dot-separated words, none of them empty.
bool isDotted(QStringView text, bool (*allowed)(QChar)) {
    if (text.isEmpty() || text.startsWith(u'.') || text.endsWith(u'.') || text.contains(u".."))
        return false;
    for (const QChar c : text)
        if (c != u'.' && !allowed(c))
            return false;
    return true;
}

bool isLocalChar(QChar c) {
    return !isHidden(c) && !isDelimiter(c);
}

// Letters, digits and hyphens, in any script.
bool isDomainChar(QChar c) {
    return c == u'-' || (!isHidden(c) && c.isLetterOrNumber());
}

QString encoded(const QString &text, const QByteArray &keep = {}) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

} // namespace

bool IsMailbox(const QString &text) {
    const qsizetype at = text.indexOf(u'@');
    if (at < 0)
        return false;
    const QStringView view(text);
    return isDotted(view.left(at), isLocalChar) && isDotted(view.mid(at + 1), isDomainChar);
}

std::optional<QString> MailToAddress(const QString &mailbox, const QString &subject,
                                     const QString &body) {
    const QString trimmed = mailbox.trimmed();
    QString address = u"mailto:"_s;
    if (!trimmed.isEmpty()) {
        if (!IsMailbox(trimmed))
            return std::nullopt;
        const qsizetype at = trimmed.indexOf(u'@');
        // The address part of a mailto: address may keep these as they are.
        address += encoded(trimmed.left(at), "!$'*+") + u'@' + encoded(trimmed.mid(at + 1));
    }
    QChar next = u'?';
    const auto add = [&](const QString &name, const QString &value) {
        if (value.isEmpty())
            return;
        address += next + name + u'=' + encoded(value);
        next = u'&';
    };
    add(u"Subject"_s, subject);
    add(u"body"_s, body);
    return address;
}

} // namespace qm
