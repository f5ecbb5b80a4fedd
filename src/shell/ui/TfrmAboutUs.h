#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qm {

// Who makes the program, how to reach them, and which version this is.
class TfrmAboutUs : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAboutUs(QWidget *parent = nullptr);
    // Set by the main window before the screen is shown.
    QLabel *lblVersion() const { return m_version; }

    void cmdAboutCloseClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_version = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace qm
