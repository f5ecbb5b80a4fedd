#include "exchange/Exchange.h"

#include "foundation/Codec1252.h"

using namespace Qt::StringLiterals;

namespace qm {

void ImportNotes::add(const QString &reason, qsizetype count) {
    if (count <= 0)
        return;
    for (auto &item : m_items) {
        if (item.first == reason) {
            item.second += count;
            return;
        }
    }
    m_items.append({reason, count});
}

void ImportNotes::merge(const ImportNotes &other) {
    for (const auto &item : other.m_items)
        add(item.first, item.second);
}

qsizetype ImportNotes::count(const QString &reason) const {
    for (const auto &item : m_items)
        if (item.first == reason)
            return item.second;
    return 0;
}

qsizetype ImportNotes::total() const {
    qsizetype sum = 0;
    for (const auto &item : m_items)
        sum += item.second;
    return sum;
}

QString CountedText(qsizetype count, const QString &one, const QString &many) {
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

QString NotesText(const ImportNotes &notes, const QString &heading) {
    if (notes.isEmpty())
        return {};
    QString text = heading + u'\n';
    for (const auto &[reason, count] : notes.items())
        text += u"    "_s + QString::number(count) + u"  "_s + reason + u'\n';
    return text;
}

QString FitFieldText(const QString &text, int width, ImportNotes &notes, bool lastField) {
    QString fitted;
    fitted.reserve(text.size());
    bool breaks = false, replaced = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029)) {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            fitted.append(u' ');
            breaks = true;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            fitted.append(u'?');
            replaced = true;
        } else if ((c == FieldSeparator && !lastField) ||
                   !IsCp1252Representable(QStringView(&c, 1))) {
            fitted.append(u'?');
            replaced = true;
        } else {
            fitted.append(c);
        }
    }
    if (breaks)
        notes.add(ExchangeText::LineBreaksReplaced);
    if (replaced)
        notes.add(ExchangeText::CharactersReplaced);
    if (fitted.size() > width) {
        fitted.truncate(width);
        notes.add(ExchangeText::ValuesCut);
    }
    return fitted;
}

ImportWindow DefaultImportWindow(const QDate &today) {
    return {today.addYears(-1), today.addYears(2)};
}

} // namespace qm
