#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qm {

// The time picker, "Select Time": an hour list ("00" to "23") and a minute
// list ("00" to "55" in steps of five) with the chosen time shown above them.
// The caller names the time field to fill and its caption label, then runs
// the form modally (prompter().runModal). The form prepares itself when it is
// first shown, starting from the time in the field.
//
// On Select (Enter, the button, or a double-click in either list) the form
// writes hh:mm into the field, gives the label the window-text colour and
// puts the focus back into the field; the form then accepts. Cancel (or Esc)
// changes nothing and rejects.
class TfrmSelTime : public QDialog {
    Q_OBJECT
public:
    TfrmSelTime(QLabel *pickerLabel, QLineEdit *pickerTimeField, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void lstClick();
    void lstDoubleClick();
    void cmdSelectClick();
    void cmdCancelClick();

    QString selectedItem(const QListWidget *list) const;

    QLabel *m_pickerLabel;
    QLineEdit *m_pickerTimeField;
    bool m_prepared = false;

    QListWidget *m_hour = nullptr;
    QListWidget *m_mins = nullptr;
    QLabel *m_selected = nullptr;
    QPushButton *m_select = nullptr;
};

} // namespace qm
