#pragma once

#include <QColor>
#include <QString>

class QAbstractItemView;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QWidget;

// Helpers for the entry controls of the forms. A date or time entry's caption
// label carries its validity: the system window-text colour when the entry is
// valid (or allowed blank), red when it is not. Saving asks IsLabelInvalid.
namespace qm {

// Red, the colour of an invalid entry's caption (colour value 255).
inline const QColor InvalidLabelColour{255, 0, 0};
// The background of an entry that cannot be edited (colour value 12632256).
inline const QColor DisabledEditColour{192, 192, 192};

void SetLabelValid(QLabel *label);
void SetLabelInvalid(QLabel *label);
bool IsLabelInvalid(const QLabel *label);

// The input mask of a date entry: two, two and four digit places separated by
// DateSep, blank places shown as spaces.
QString DateEntryMask();
// What an empty date entry shows: "  /  /    " with DateSep for "/".
QString EmptyDateEntry();
// Gives edit the date entry mask (for the current DateSep).
void SetDateEntryMask(QLineEdit *edit);
// The same for a day and month without a year: "  /  " when empty.
void SetDayMonthEntryMask(QLineEdit *edit);

// The entry's text as the user sees it: a masked entry keeps its separators
// and shows blank places as spaces ("01/03/99  ", "  /  /    ").
QString EntryText(const QLineEdit *edit);
// True when nothing has been typed: the text is blank, or the entry shows
// only its empty mask.
bool IsEntryBlank(const QLineEdit *edit);

// Validates a date entry when the user leaves it. Blank (or only the empty
// mask) with allowBlank: label valid, entry unchanged. A valid date is
// rewritten as dd/mm/yyyy ('1/3/1999' -> '01/03/1999') and the label made
// valid. Anything else, including a date that passes IsValidDate but is not
// in the calendar (29/02/1900), turns the label red and leaves the entry as
// typed.
void CheckDateEdit(QLabel *label, QLineEdit *edit, bool allowBlank);
// The same for a time entry: a valid time is rewritten as hh:mm.
void CheckTimeEdit(QLabel *label, QLineEdit *edit, bool allowBlank);

// Shows a text read from a record file whole: the entry's limit grows to the
// text's length when it is longer than usualLimit (a file written elsewhere),
// so the text is never cut and saving judges and keeps what is stored. The
// entry shows the text from its beginning.
void SetStoredText(QLineEdit *edit, const QString &text, int usualLimit);

// Enabled: the system's entry background, editable, reached by the Tab key.
// Disabled: silver background, read-only, skipped by the Tab key (it can
// still be clicked into). Works on line edits, spin boxes and text edits.
void SetEditEnabled(QWidget *edit, bool enabled);

// Selects the first item whose text, upper-cased and without trailing blanks,
// equals value treated the same way. Without a match no item is selected and
// an editable combo box has its text cleared.
void SelectComboItem(QComboBox *combo, const QString &value);
// The same comparison over the rows of a list (the view's root, its model
// column for a list view, else column 0); without a match the last row is
// selected, none when the list is empty. The selected row is scrolled into
// view.
void SelectListItem(QAbstractItemView *view, const QString &value);

// Whether a focus event (in or out) comes from the user moving between a
// form's controls, not from the whole form losing or regaining the focus to
// another window (a message, a picker) or a context menu opening. Exit rules
// of entries run only then.
bool IsMoveBetweenControls(const QEvent *focusEvent);

// "256" when the screen has 8 or fewer bits per pixel, "HI" otherwise.
QString ColourDepth();

} // namespace qm
