#pragma once

#include "foundation/ui/Page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

// The page that asks for the password at start-up.
class LoginPage : public Page {
    Q_OBJECT
public:
    explicit LoginPage(QWidget *parent = nullptr);

    // Prepares the page for the expected password (in clear, in capitals).
    void prepare(const QString &storedPassword, const QString &greeting);
    void cmdLoginClick();

    QWidget *focusTarget() override;

protected:
    void build() override;

signals:
    // The typed password was right.
    void loginAccepted();

private:
    // What prepare() was given, on the page's controls.
    void showPrepared();

    QString StoredPassword;
    QString m_greetingText;
    QLabel *m_greeting = nullptr;
    QLineEdit *m_login = nullptr;
    QPushButton *m_loginButton = nullptr;
};

// A password box: at most 10 characters, letters turned into capitals as they
// are typed, and shown as "*".
void MakePasswordBox(QLineEdit *edit);

} // namespace qm
