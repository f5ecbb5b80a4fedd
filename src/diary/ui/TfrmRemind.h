#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qm {

// The reminder pop-up: an appointment about to start or an alarm time
// reached. It stays in front of every other window and closes only through
// "&Close", Enter or Esc.
class TfrmRemind : public QDialog {
    Q_OBJECT
public:
    // What the pop-up shows, its tag.
    enum Tag { AlarmTag = 1, AppointmentTag = 2 };

    TfrmRemind(Tag tag, const QString &message, QWidget *parent = nullptr);
    Tag tag() const { return m_tag; }

    void cmdUpdateClick();
    // Esc closes the same way as the button.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();

    Tag m_tag;
    bool m_closing = false;
    bool m_prepared = false;
};

} // namespace qm
