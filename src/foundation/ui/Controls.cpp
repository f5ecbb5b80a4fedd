#include "foundation/ui/Controls.h"

#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/Text.h"
#include "platform/ScreenMetrics.h"
#include "platform/Services.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHash>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

// Where SetEditEnabled keeps an entry's own focus policy while it is disabled.
constexpr char SavedFocusPolicyProperty[] = "qmSavedFocusPolicy";

void setLabelColour(QLabel *label, const QColor &colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Characters that have a meaning in an input mask; a separator that is one of
// them must be escaped to stand for itself.
bool isMaskMetaCharacter(QChar ch) {
    return QStringView(u"AaNnXx90Dd#HhBb<>!\\;[]{}").contains(ch);
}

// What text() of an entry with this mask gives when nothing has been typed:
// its separators alone.
QString emptyMaskedText(const QString &mask) {
    static QHash<QString, QString> cache;
    const auto found = cache.constFind(mask);
    if (found != cache.constEnd())
        return *found;
    QLineEdit probe;
    probe.setInputMask(mask);
    return *cache.insert(mask, probe.text());
}

// Upper case without trailing blanks: how list and combo items are matched.
QString matchKey(const QString &text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).unicode() <= u' ')
        --end;
    return text.left(end).toUpper();
}

} // namespace

void SetLabelValid(QLabel *label) {
    setLabelColour(label, QApplication::palette(label).color(QPalette::WindowText));
}

void SetLabelInvalid(QLabel *label) {
    setLabelColour(label, InvalidLabelColour);
}

bool IsLabelInvalid(const QLabel *label) {
    return label->palette().color(QPalette::WindowText) == InvalidLabelColour;
}

namespace {
QString maskSeparator() {
    QString sep(DateSep());
    if (isMaskMetaCharacter(DateSep()))
        sep.prepend(u'\\');
    return sep;
}
} // namespace

QString DateEntryMask() {
    return u"99"_s + maskSeparator() + u"99"_s + maskSeparator() + u"9999"_s;
}

QString EmptyDateEntry() {
    return u"  "_s + DateSep() + u"  "_s + DateSep() + u"    "_s;
}

void SetDateEntryMask(QLineEdit *edit) {
    edit->setInputMask(DateEntryMask());
}

void SetDayMonthEntryMask(QLineEdit *edit) {
    edit->setInputMask(u"99"_s + maskSeparator() + u"99"_s);
}

QString EntryText(const QLineEdit *edit) {
    return edit->inputMask().isEmpty() ? edit->text() : edit->displayText();
}

bool IsEntryBlank(const QLineEdit *edit) {
    if (IsBlank(EntryText(edit)))
        return true;
    const QString mask = edit->inputMask();
    return !mask.isEmpty() && edit->text() == emptyMaskedText(mask);
}

namespace {
// The shared check of a date or time entry: blank (when allowed) or valid
// and convertible leaves the label normal and the entry in display form;
// anything else turns the label red and leaves the entry as typed. The
// validity rules let through texts the conversion cannot read (29/02/1900,
// '9.0:30'); those count as invalid.
template <typename IsValid, typename ToDisplay>
void checkEntry(QLabel *label, QLineEdit *edit, bool blank, IsValid isValid, ToDisplay toDisplay) {
    if (blank) {
        SetLabelValid(label);
        return;
    }
    const QString entry = EntryText(edit);
    if (isValid(entry)) {
        try {
            edit->setText(toDisplay(entry));
            SetLabelValid(label);
            return;
        } catch (const ConversionError &) {
        }
    }
    SetLabelInvalid(label);
}
} // namespace

void CheckDateEdit(QLabel *label, QLineEdit *edit, bool allowBlank) {
    const bool blank = allowBlank && (IsEntryBlank(edit) || EntryText(edit) == EmptyDateEntry());
    checkEntry(
        label, edit, blank, [](const QString &t) { return IsValidDate(t); },
        [](const QString &t) { return DateToDisplay(t); });
}

void CheckTimeEdit(QLabel *label, QLineEdit *edit, bool allowBlank) {
    checkEntry(
        label, edit, allowBlank && IsEntryBlank(edit),
        [](const QString &t) { return IsValidTime(t); },
        [](const QString &t) { return TimeToDisplay(t); });
}

void SetEditEnabled(QWidget *edit, bool enabled) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, enabled ? QApplication::palette(edit).color(QPalette::Base)
                                             : DisabledEditColour);
    edit->setPalette(palette);

    if (auto *line = qobject_cast<QLineEdit *>(edit))
        line->setReadOnly(!enabled);
    else if (auto *spin = qobject_cast<QAbstractSpinBox *>(edit))
        spin->setReadOnly(!enabled);
    else if (auto *text = qobject_cast<QTextEdit *>(edit))
        text->setReadOnly(!enabled);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(edit))
        plain->setReadOnly(!enabled);

    const QVariant saved = edit->property(SavedFocusPolicyProperty);
    if (enabled) {
        if (saved.isValid()) {
            edit->setFocusPolicy(static_cast<Qt::FocusPolicy>(saved.toInt()));
            edit->setProperty(SavedFocusPolicyProperty, QVariant());
        } else if (!(edit->focusPolicy() & Qt::TabFocus)) {
            edit->setFocusPolicy(Qt::StrongFocus);
        }
    } else {
        if (!saved.isValid())
            edit->setProperty(SavedFocusPolicyProperty, int(edit->focusPolicy()));
        edit->setFocusPolicy(Qt::ClickFocus);
    }
}

void SelectComboItem(QComboBox *combo, const QString &value) {
    const QString key = matchKey(value);
    for (int i = 0; i < combo->count(); ++i) {
        if (matchKey(combo->itemText(i)) == key) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->clearEditText();
}

void SelectListItem(QAbstractItemView *view, const QString &value) {
    QAbstractItemModel *model = view->model();
    QItemSelectionModel *selection = view->selectionModel();
    if (!model || !selection)
        return;
    const QModelIndex root = view->rootIndex();
    const int rows = model->rowCount(root);
    if (rows == 0) {
        selection->clear();
        return;
    }
    int column = 0;
    if (const auto *list = qobject_cast<const QListView *>(view))
        column = list->modelColumn();

    const QString key = matchKey(value);
    int row = rows - 1;
    for (int i = 0; i < rows; ++i) {
        if (matchKey(model->index(i, column, root).data(Qt::DisplayRole).toString()) == key) {
            row = i;
            break;
        }
    }
    const QModelIndex index = model->index(row, column, root);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (view->selectionBehavior() == QAbstractItemView::SelectRows)
        flags |= QItemSelectionModel::Rows;
    selection->setCurrentIndex(index, flags);
    view->scrollTo(index);
}

QString ColourDepth() {
    return screenMetrics().colourDepth() <= 8 ? u"256"_s : u"HI"_s;
}

void SetStoredText(QLineEdit *edit, const QString &text, int usualLimit) {
    edit->setMaxLength(qMax(usualLimit, int(text.size())));
    edit->setText(text);
    // A text longer than the box shows its beginning, not its end.
    edit->setCursorPosition(0);
}

bool IsMoveBetweenControls(const QEvent *focusEvent) {
    const auto reason = static_cast<const QFocusEvent *>(focusEvent)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace qm
