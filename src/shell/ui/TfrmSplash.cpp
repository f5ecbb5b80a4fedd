#include "shell/ui/TfrmSplash.h"

#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int FormWidth = 420;
constexpr int FormHeight = 250;
constexpr int LogoSize = 96;
constexpr int PictureSize = 56;

QLabel *Picture(QWidget *parent, const QString &name, const QString &resource, QRect where) {
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(SvgPixmap(resource, where.size()));
    picture->setGeometry(where);
    return picture;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget *parent)
    // Not kept above other windows: a message start-up shows (a note file
    // that is gone) must not open hidden behind it.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(u"frmSplash"_s);
    setWindowTitle(u"Splash Screen"_s);
    setFixedSize(FormWidth, FormHeight);

    auto *panel = new GradientPanel(this, 1);
    panel->setObjectName(u"panSplash"_s);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, FormWidth, FormHeight);

    Picture(panel, u"imgLogo"_s, u":/shell/quillmate.svg"_s, {24, 20, LogoSize, LogoSize});
    auto *title = new QLabel(u"Quillmate"_s, panel);
    title->setObjectName(u"lblTitle"_s);
    title->setFont(QFont(u"Comic Sans MS"_s, 28, QFont::Bold));
    title->setGeometry(136, 28, 260, 48);
    auto *motto = new QLabel(u"Your Diary, Notes And Contacts"_s, panel);
    motto->setObjectName(u"lblMotto"_s);
    motto->setFont(QFont(ButtonFontName, 9, QFont::Bold));
    motto->setWordWrap(true);
    motto->setGeometry(136, 76, 270, 36);

    // The three pictures stand for what the program keeps: the days, the
    // time and the people.
    const int top = 124;
    const int gap = (FormWidth - 3 * PictureSize) / 4;
    Picture(panel, u"imgDiary"_s, u":/shell/splash_diary.svg"_s,
            {gap, top, PictureSize, PictureSize});
    Picture(panel, u"imgClock"_s, u":/shell/splash_clock.svg"_s,
            {2 * gap + PictureSize, top, PictureSize, PictureSize});
    Picture(panel, u"imgInkwell"_s, u":/shell/splash_inkwell.svg"_s,
            {3 * gap + 2 * PictureSize, top, PictureSize, PictureSize});

    auto *credit = new QLabel(u"Developed By Varnell Software Ltd."_s, panel);
    credit->setObjectName(u"lblCredit"_s);
    credit->setAlignment(Qt::AlignCenter);
    credit->setFont(QFont(ButtonFontName, 9));
    credit->setGeometry(0, 192, FormWidth, 20);

    m_version = new QLabel(u"Build No."_s, panel);
    m_version->setObjectName(u"lblVersion"_s);
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_version->setFont(QFont(ButtonFontName, 8));
    m_version->setGeometry(FormWidth - 216, FormHeight - 28, 200, 18);
}

} // namespace qm
