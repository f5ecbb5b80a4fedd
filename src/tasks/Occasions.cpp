#include "tasks/Occasions.h"

#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/Text.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr qsizetype KeyWidth = 4;
constexpr qsizetype DescriptionPosition = 6;
// Occasions carry no year; their dates are read in this leap year.
constexpr int OccasionYear = 2000;
const QString Indent = u"    "_s;
const QString HeadingMark = u"H"_s;
const QString LineMark = u"L"_s;

} // namespace

OccasionStore::OccasionStore() : LineStore(BirthdayFileName, Order::Sorted) {}

QString OccasionLine(int day, int month, const QString &description) {
    return PadZeros(month, 2) + PadZeros(day, 2) + FieldSeparator + description;
}

QString OccasionDateEntry(const QString &line) {
    return MidText(line, 3, 2) + DateSep() + MidText(line, 1, 2);
}

QString OccasionDescription(const QString &line) {
    return MidText(line, DescriptionPosition);
}

std::optional<QString> OccasionDateExit(const QString &entry) {
    const QString date = entry + DateSep() + QString::number(OccasionYear);
    if (!IsValidDate(date))
        return std::nullopt;
    try {
        return LeftText(DateToDisplay(date), 5);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

QString OccasionSaveReasons(bool dateValid, const QString &description) {
    QString reasons;
    if (!dateValid)
        reasons += u"Date Is Not Valid (Must Be In The Format 'DD"_s + DateSep() + u"MM')\r"_s;
    QString cannotStore;
    if (IsBlank(description))
        reasons += OccasionText::DescriptionMissing + u'\r';
    else if (!CanStoreInLastField(description, u"Description"_s, &cannotStore))
        reasons += cannotStore + u'\r';
    return reasons;
}

QString OccasionLineFromEntries(const QString &date, const QString &description) {
    return RightText(date, 2) + LeftText(date, 2) + FieldSeparator + description;
}

QString OccasionHeading(const QString &dateKey) {
    const QDate date(OccasionYear, MidText(dateKey, 1, 2).toInt(), MidText(dateKey, 3, 2).toInt());
    // A key that is no day of the year (a line put together elsewhere) is
    // shown as it stands.
    if (dateKey.size() != KeyWidth || !date.isValid())
        return dateKey;
    const QString text = LongDateText(date, false);
    return text.left(text.size() - 5); // without " 2000"
}

ListRows LoadBirthdayView(const QStringList &sorted) {
    ListRows rows;
    // Every line gives a row, most days one more for the heading and one for
    // the line before the next day.
    const qsizetype expected = sorted.size() + qMin<qsizetype>(sorted.size(), 366) * 2 + 1;
    rows.texts.reserve(expected);
    rows.rowMap.reserve(expected);
    rows.rowKeys.reserve(expected);
    const auto addRow = [&rows](const QString &text, const QString &map, const QString &key) {
        rows.texts.append(text);
        rows.rowMap.append(map);
        rows.rowKeys.append(key);
    };
    static const QString separator(OccasionSeparatorLength, u'-');
    static const QString closing(OccasionClosingLength, u'-');
    // The day's key is made once and shared by its rows.
    QString key;
    for (qsizetype position = 0; position < sorted.size(); ++position) {
        const QString &line = sorted.at(position);
        const QStringView lineKey = QStringView(line).left(KeyWidth);
        if (lineKey != key) {
            key = lineKey.toString();
            if (rows.size() > 0)
                addRow(separator, LineMark, {});
            addRow(OccasionHeading(key), HeadingMark, {});
        }
        QString text = Indent;
        text.append(QStringView(line).mid(qMin(line.size(), DescriptionPosition - 1)));
        addRow(text, QString::number(position), key);
    }
    if (rows.size() > 0)
        addRow(closing, LineMark, {});
    return rows;
}

int SelectNextOccasion(const ListRows &rows, const QDate &today) {
    if (rows.size() == 0)
        return -1;
    const QString todayKey = MidText(DateToSortable(today), 5);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &key = rows.rowKeys.at(row);
        if (!key.isEmpty() && key >= todayKey)
            return int(row);
    }
    return 0;
}

RowLook OccasionRowLook(const ListRows &rows, qsizetype row) {
    RowLook look;
    look.bold = rows.rowMap.value(row) == HeadingMark;
    return look;
}

QString OccasionDeleteQuestion(const QString &rowText) {
    qsizetype start = 0;
    while (start < rowText.size() && rowText.at(start) == u' ')
        ++start;
    return u"Are You Sure You Want To Delete '"_s + rowText.mid(start) + u"'?"_s;
}

} // namespace qm
