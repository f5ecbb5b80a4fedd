#include "diary/ui/DiaryPrint.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString PrintFamily = u"Times New Roman"_s;
constexpr int RowPointSize = 12;
constexpr int HeadingPointSize = 14;
const QColor AlertColour{255, 0, 0};

// Black on paper whatever the screen's colours are. No style hint: where Times
// New Roman is missing, the font configuration's own stand-in for it (a face
// of the same widths) is a better match than the generic serif face a hint
// would pick.
QTextCharFormat RowFormat() {
    QTextCharFormat format;
    format.setFontFamilies({PrintFamily});
    format.setFontPointSize(RowPointSize);
    format.setFontWeight(QFont::Normal);
    format.setForeground(QColor(Qt::black));
    return format;
}

QTextCharFormat HeadingFormat() {
    QTextCharFormat format = RowFormat();
    format.setFontPointSize(HeadingPointSize);
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    return format;
}

QTextCharFormat LookFormat(const RowLook &look) {
    QTextCharFormat format = RowFormat();
    if (look.mark == RowLook::Mark::Alert)
        format.setForeground(AlertColour);
    if (look.bold)
        format.setFontWeight(QFont::Bold);
    format.setFontStrikeOut(look.strikeOut);
    return format;
}

} // namespace

void ComposeDiaryPrint(QTextDocument &page, const QString &heading, const QList<PrintRow> &rows) {
    page.clear();
    page.setDefaultFont(QFont(PrintFamily, RowPointSize));
    // The weekly view's separator rows are 125 dashes: wider than the space
    // between the page margins at 12 points, yet they must stay one line.
    QTextOption option = page.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    page.setDefaultTextOption(option);

    QTextCursor cursor(&page);
    // The document starts with one empty block: the first empty line.
    cursor.setBlockCharFormat(RowFormat());
    const auto addLine = [&cursor](const QString &text, const QTextCharFormat &format) {
        cursor.insertBlock(QTextBlockFormat(), format);
        cursor.insertText(text, format);
    };
    addLine(heading, HeadingFormat());
    addLine(QString(), RowFormat());
    for (const PrintRow &row : rows)
        addLine(row.text, LookFormat(row.look));
}

} // namespace qm
