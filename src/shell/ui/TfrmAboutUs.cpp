#include "shell/ui/TfrmAboutUs.h"

#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "shell/Maker.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int FormWidth = 420;
constexpr int FormHeight = 330;
constexpr int Margin = 10;
constexpr int LogoSize = 64;

} // namespace

TfrmAboutUs::TfrmAboutUs(QWidget *parent) : QDialog(parent, FixedDialogFlags) {
    setObjectName(u"frmAboutUs"_s);
    setWindowTitle(u"About Us"_s);
    setModal(true);
    SetHelpTopic(this, HelpTopic::Contents);

    auto *outer = new GradientPanel(this, 1);
    outer->setObjectName(u"panOuter"_s);
    outer->setGeometry(0, 0, FormWidth, FormHeight);

    auto *logo = new QLabel(outer);
    logo->setObjectName(u"imgLogo"_s);
    logo->setPixmap(SvgPixmap(u":/shell/quillmate.svg"_s, QSize(LogoSize, LogoSize)));
    logo->setGeometry(Margin + 4, Margin, LogoSize, LogoSize);
    auto *title = new QLabel(u"Quillmate"_s, outer);
    title->setObjectName(u"lblTitle"_s);
    title->setFont(QFont(u"Comic Sans MS"_s, 20, QFont::Bold));
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, Margin, FormWidth, 40);

    m_version = new QLabel(outer);
    m_version->setObjectName(u"lblVersion"_s);
    m_version->setAlignment(Qt::AlignCenter);
    m_version->setGeometry(0, 54, FormWidth, 20);

    auto *panel = new GradientPanel(outer, 2);
    panel->setObjectName(u"panContact"_s);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(Margin, 84, FormWidth - 2 * Margin, 190);

    auto *contact = new QLabel(panel);
    contact->setObjectName(u"lblContact"_s);
    contact->setTextFormat(Qt::PlainText);
    contact->setText(u"Varnell Software Ltd.\n"
                     "14 Mill Lane\n"
                     "Ashcombe, Wessex AB1 2CD\n"
                     "United Kingdom\n"
                     "Telephone : 01632 960 418\n\n"_s +
                     WebSiteAddress() + u"\n"_s + InformationMailbox());
    contact->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    contact->setGeometry(Margin, Margin, 196, 150);

    auto *about = new QPlainTextEdit(panel);
    about->setObjectName(u"txtAbout"_s);
    about->setReadOnly(true);
    about->setPlainText(
        u"Varnell Software Ltd. is a small company that writes programs for people who like "
        "their information tidy, close at hand and in files they own.\n\n"
        "Quillmate keeps your appointments, tasks, birthdays, notes, alarms and contacts in "
        "plain files in one folder, so nothing is locked away and a copy of the folder is a "
        "copy of everything.\n\n"
        "We read every mail we are sent: tell us what you would like Quillmate to do next."_s);
    about->setGeometry(214, Margin, panel->width() - 214 - Margin, 170);

    m_close = MakeButton(outer, u"cmdAboutClose"_s, u"&Close"_s, u"Close This Screen"_s, 6);
    m_close->setDefault(true);
    m_close->setAutoDefault(true);
    m_close->setGeometry((FormWidth - 75) / 2, FormHeight - Margin - 28, 75, 25);
    connect(m_close, &QPushButton::clicked, this, Reported([this] { cmdAboutCloseClick(); }));
    setFixedSize(FormWidth, FormHeight);
}

void TfrmAboutUs::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    CentreForm(this);
    StyleForm(this);
    m_close->setFocus();
}

void TfrmAboutUs::cmdAboutCloseClick() {
    // Esc closes the same way (the button is the cancel button).
    reject();
}

} // namespace qm
