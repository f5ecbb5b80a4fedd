#include "shell/ui/HelpWindow.h"

#include "foundation/Program.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qm {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(u"frmHelp"_s);
    setWindowTitle(ProgramTitle() + u" Help"_s);
    setWindowIcon(SvgIcon(u":/shell/quillmate.svg"_s, {16, 32, 48}));
    // Help for the help window is its contents page.
    SetHelpTopic(this, HelpTopic::Contents);
    resize(600, 520);

    auto *buttons = new QHBoxLayout;
    m_back = MakeButton(this, u"cmdHelpBack"_s, u"&Back"_s, u"Show The Page Before"_s);
    m_forward = MakeButton(this, u"cmdHelpForward"_s, u"&Forward"_s, u"Show The Next Page"_s);
    auto *contents =
        MakeButton(this, u"cmdHelpContents"_s, u"C&ontents"_s, u"Show The List Of Help Pages"_s);
    auto *close = MakeButton(this, u"cmdHelpClose"_s, u"&Close"_s, u"Close The Help"_s);
    for (QPushButton *button : {m_back, m_forward, contents})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(u"txtHelp"_s);
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    // One look for every page, kept beside them.
    QFile style(u":/help/help.css"_s);
    if (style.open(QIODevice::ReadOnly))
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { cmdHelpContentsClick(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // The keys browsers use, wherever the focus is in the window.
    const struct {
        QKeySequence key;
        QPushButton *button;
    } keys[] = {{QKeySequence(Qt::ALT | Qt::Key_Left), m_back},
                {QKeySequence(Qt::ALT | Qt::Key_Right), m_forward},
                {QKeySequence(Qt::ALT | Qt::Key_Home), contents},
                {QKeySequence(Qt::Key_Escape), close}};
    for (const auto &entry : keys) {
        auto *shortcut = new QShortcut(entry.key, this);
        QPushButton *button = entry.button;
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
    }
}

void HelpWindow::showTopic(HelpTopic topic) {
    const QUrl url(HelpPageUrl(topic));
    if (m_browser->source() != url)
        m_browser->setSource(url);
    if (!m_placed) {
        m_placed = true;
        CentreForm(this);
    }
    show();
    raise();
    activateWindow();
    m_browser->setFocus();
}

QUrl HelpWindow::page() const {
    return m_browser->source();
}

void HelpWindow::cmdHelpContentsClick() {
    showTopic(HelpTopic::Contents);
}

} // namespace qm
