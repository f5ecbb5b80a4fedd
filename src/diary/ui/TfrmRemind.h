#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;

namespace qm {

// The reminder pop-up: an appointment about to start or an alarm time
// reached. It stays in front of every other window and closes only through
// "&Close", Enter or Esc.
//
// It appears while the user may be typing or clicking elsewhere, so it leaves
// the keyboard where it is: it is activated by a click on it, and Enter and
// Esc reach it only then. Keys and clicks of its first moments (GuardMs on the
// clock's stopwatch) are ignored, so input that was meant for what lay under
// it does not close it unread.
class TfrmRemind : public QDialog {
    Q_OBJECT
public:
    // What the pop-up shows, its tag.
    enum Tag { AlarmTag = 1, AppointmentTag = 2 };
    static constexpr qint64 GuardMs = 1000;

    TfrmRemind(Tag tag, const QString &message, QWidget *parent = nullptr);
    Tag tag() const { return m_tag; }

    void cmdUpdateClick();
    // Esc closes the same way as the button.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    bool guarding() const;

    Tag m_tag;
    std::optional<qint64> m_shownAt; // on the clock's stopwatch
    bool m_closing = false;
    bool m_prepared = false;
};

} // namespace qm
