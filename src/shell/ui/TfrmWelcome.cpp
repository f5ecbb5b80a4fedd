#include "shell/ui/TfrmWelcome.h"

#include "foundation/Settings.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MailTo.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Services.h"
#include "shell/Maker.h"
#include "shell/MakerLinks.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int FormWidth = 400;
constexpr int FormHeight = 300;
constexpr int Margin = 12;

} // namespace

TfrmWelcome::TfrmWelcome(QWidget *parent) : QDialog(parent, FixedDialogFlags) {
    setObjectName(u"frmWelcome"_s);
    setWindowTitle(MakerText::WelcomeCaption);
    setModal(true);
    SetHelpTopic(this, HelpTopic::Contents);

    auto *panel = new GradientPanel(this, 1);
    panel->setObjectName(u"panWelcome"_s);
    panel->setGeometry(0, 0, FormWidth, FormHeight);

    auto *heading = new QLabel(MakerText::WelcomeHeading, panel);
    heading->setObjectName(u"lblHeading"_s);
    heading->setFont(QFont(ButtonFontName, 10, QFont::Bold));
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignCenter);
    heading->setGeometry(Margin, Margin, FormWidth - 2 * Margin, 40);

    auto *text = new QLabel(MakerText::WelcomeText, panel);
    text->setObjectName(u"lblText"_s);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setGeometry(Margin, 60, FormWidth - 2 * Margin, 72);

    auto *group = new QGroupBox(panel);
    group->setObjectName(u"grpUpdate"_s);
    group->setGeometry(Margin * 3, 140, FormWidth - 6 * Margin, 96);
    m_update = new QRadioButton(u"Update me"_s, group);
    m_update->setObjectName(u"optUpdate"_s);
    m_update->setGeometry(16, 12, 260, 22);
    m_update->setChecked(true);
    m_again = new QRadioButton(u"Ask me again later"_s, group);
    m_again->setObjectName(u"optAgain"_s);
    m_again->setGeometry(16, 38, 260, 22);
    m_noInform = new QRadioButton(u"Don't inform me of updates"_s, group);
    m_noInform->setObjectName(u"optNoInform"_s);
    m_noInform->setGeometry(16, 64, 260, 22);

    m_start = MakeButton(panel, u"cmdStart"_s, u"Start &Quillmate"_s);
    m_start->setDefault(true);
    m_start->setAutoDefault(true);
    m_start->setGeometry((FormWidth - 130) / 2, FormHeight - Margin - 28, 130, 28);
    connect(m_start, &QPushButton::clicked, this, Reported([this] { cmdStartClick(); }));
    setFixedSize(FormWidth, FormHeight);
}

void TfrmWelcome::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    CentreForm(this);
    StyleForm(this);
}

void TfrmWelcome::cmdStartClick() {
    // The screen closes whatever happens below: a failure is reported, and
    // the program goes on starting.
    const auto close = qScopeGuard([this] { accept(); });
    // Without a mail program the user is told where to write by hand.
    if (m_update->isChecked())
        StartMailTo(UpdateMailbox(), {UpdateMailSubject(), UpdateMailBody(),
                                      UpdateMailFailedMessage(), MessageKind::Warning});
    // "Ask me again later" leaves the setting as it is.
    if (m_update->isChecked() || m_noInform->isChecked())
        Settings(settingsStore()).setShowWelcome(false);
}

void TfrmWelcome::reject() {
    RunReported([this] { cmdStartClick(); });
}

} // namespace qm
