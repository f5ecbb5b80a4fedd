#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace qm {

// The welcome screen of the first starts: offers to have the user told of
// new versions by mail. "Start Quillmate" is both its default and its cancel
// button, so Enter and Esc both take the choice shown.
class TfrmWelcome : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWelcome(QWidget *parent = nullptr);

    void cmdStartClick();
    // Esc (and the window manager's close) press "Start Quillmate".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *m_update = nullptr;
    QRadioButton *m_again = nullptr;
    QRadioButton *m_noInform = nullptr;
    QPushButton *m_start = nullptr;
};

} // namespace qm
