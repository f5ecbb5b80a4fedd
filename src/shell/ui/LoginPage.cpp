#include "shell/ui/LoginPage.h"

#include "foundation/Codec1252.h"
#include "foundation/Program.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "shell/Configuration.h"

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Shows every character of a password as "*", whatever the desktop's style
// would use.
class PasswordStarStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void MakePasswordBox(QLineEdit *edit) {
    edit->setMaxLength(10);
    edit->setEchoMode(QLineEdit::Password);
    auto *style = new PasswordStarStyle;
    style->setParent(edit);
    edit->setStyle(style);
    // Capitals as the stored form has them: Unicode's would turn a "µ" into a
    // Greek letter that cannot be stored, and the password typed at the next
    // start would never match again.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = UpperCaseCp1252(text);
        if (upper != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
}

LoginPage::LoginPage(QWidget *parent) : Page(u"tabLogin"_s, parent) {
    SetHelpTopic(this, HelpTopic::Login);
}

void LoginPage::build() {
    auto *panel = new GradientPanel(background(), 2);
    panel->setObjectName(u"panLogin"_s);
    panel->setDropShadow(true);
    panel->setGeometry(84, 90, 320, 190);

    m_greeting = new QLabel(panel);
    m_greeting->setObjectName(u"lblGreeting"_s);
    m_greeting->setGeometry(16, 16, 280, 24);
    m_greeting->setFont(QFont(u"MS Sans Serif"_s, 12, QFont::Bold));

    auto *prompt = new QLabel(u"Please Enter Your Password"_s, panel);
    prompt->setObjectName(u"lblPrompt"_s);
    prompt->setGeometry(16, 56, 280, 20);

    m_login = new QLineEdit(panel);
    m_login->setObjectName(u"txtLogin"_s);
    m_login->setGeometry(16, 82, 150, 24);
    MakePasswordBox(m_login);

    m_loginButton = new QPushButton(u"&Login"_s, panel);
    m_loginButton->setObjectName(u"cmdLogin"_s);
    m_loginButton->setGeometry(16, 130, 75, 25);
    m_loginButton->setDefault(true);
    m_loginButton->setAutoDefault(true);
    connect(m_loginButton, &QPushButton::clicked, this, Reported([this] { cmdLoginClick(); }));
    connect(m_login, &QLineEdit::returnPressed, this, Reported([this] { cmdLoginClick(); }));

    addCloseButton(u"cmdLoginClose"_s);
    showPrepared();
}

void LoginPage::prepare(const QString &storedPassword, const QString &greeting) {
    StoredPassword = storedPassword;
    m_greetingText = greeting;
    if (isBuilt())
        showPrepared();
}

void LoginPage::showPrepared() {
    m_loginButton->setToolTip(u"Login To "_s + ProgramTitle());
    m_greeting->setText(m_greetingText);
    m_login->clear();
}

QWidget *LoginPage::focusTarget() {
    return m_login;
}

void LoginPage::cmdLoginClick() {
    if (!LoginAccepted(m_login->text(), StoredPassword)) {
        ShowMessageBox(u"Incorrect Password\r\rPlease Try Again"_s, MessageKind::Warning,
                       MessageButtons::OK);
        m_login->clear();
        m_login->setFocus();
        return;
    }
    emit loginAccepted();
}

} // namespace qm
