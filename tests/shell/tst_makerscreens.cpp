#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MailTo.h"
#include "foundation/ui/MsgBox.h"
#include "platform/ui/DesktopShell.h"
#include "shell/Maker.h"
#include "shell/MakerLinks.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/TfrmWelcome.h"
#include "support/TestServices.h"

#include <QDirIterator>
#include <QFile>
#include <QMetaEnum>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString UpdateMailAddress() {
    return qm::MailToAddress(qm::UpdateMailbox(), qm::UpdateMailSubject(), qm::UpdateMailBody())
        .value_or(QString());
}

QString ResourceText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

// The welcome screen, the mail it sends, and the help pages with their window.
class TestMakerScreens : public QObject {
    Q_OBJECT
private slots:
    void welcomeRule_data();
    void welcomeRule();
    void updateMailReachesTheMailProgramIntact();
    void everyTopicHasAPageAndEveryLinkResolves();
    void helpWindowGoesBackAndForward();
};

void TestMakerScreens::welcomeRule_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("key"); // 0: a click on "Start Quillmate"
    QTest::addColumn<bool>("mailOpens");
    QTest::addColumn<bool>("mailSent");
    QTest::addColumn<QString>("showWelcome"); // after; "<kept>" when not written

    QTest::newRow("update me") << u"optUpdate"_s << 0 << true << true << u"0"_s;
    // Esc presses "Start Quillmate": the update mail still goes.
    QTest::newRow("update me, Esc")
        << u"optUpdate"_s << int(Qt::Key_Escape) << true << true << u"0"_s;
    QTest::newRow("update me, Enter")
        << u"optUpdate"_s << int(Qt::Key_Return) << true << true << u"0"_s;
    // No mail program: the user is told where to write; the choice still counts.
    QTest::newRow("update me, no mail program") << u"optUpdate"_s << 0 << false << true << u"0"_s;
    QTest::newRow("ask again") << u"optAgain"_s << 0 << true << false << u"<kept>"_s;
    QTest::newRow("ask again, Esc")
        << u"optAgain"_s << int(Qt::Key_Escape) << true << false << u"<kept>"_s;
    QTest::newRow("don't inform") << u"optNoInform"_s << 0 << true << false << u"0"_s;
    QTest::newRow("don't inform, Esc")
        << u"optNoInform"_s << int(Qt::Key_Escape) << true << false << u"0"_s;
}

void TestMakerScreens::welcomeRule() {
    QFETCH(QString, option);
    QFETCH(int, key);
    QFETCH(bool, mailOpens);
    QFETCH(bool, mailSent);
    QFETCH(QString, showWelcome);
    qm::test::TestServices services;
    services.shell.answer = mailOpens;

    qm::TfrmWelcome welcome;
    welcome.show();
    QCOMPARE(welcome.windowTitle(), u"Welcome To Quillmate"_s);
    QVERIFY(welcome.findChild<QRadioButton *>(u"optUpdate"_s)->isChecked());
    auto *start = welcome.findChild<QPushButton *>(u"cmdStart"_s);
    QVERIFY(start->isDefault());
    QTest::mouseClick(welcome.findChild<QRadioButton *>(option), Qt::LeftButton, {}, QPoint(8, 8));
    QVERIFY(welcome.findChild<QRadioButton *>(option)->isChecked());
    if (key == 0) {
        QTest::mouseClick(start, Qt::LeftButton);
    } else {
        start->setFocus();
        QTest::keyClick(&welcome, Qt::Key(key));
    }

    QVERIFY(!welcome.isVisible());
    QCOMPARE(services.shell.opened, mailSent ? QStringList{UpdateMailAddress()} : QStringList());
    QCOMPARE(services.settings.m_values.value(u"Show Welcome"_s, u"<kept>"_s), showWelcome);
    if (mailSent && !mailOpens) {
        QCOMPARE(services.prompter.messages.size(), 1);
        QCOMPARE(services.prompter.messages[0].text,
                 u"Failed To Open Your Email System\r\rTo Be Informed Of Updates, Please Send "
                 "An Empty Email To : \r\rupdates@varnellsoftware.example"_s);
        QCOMPARE(services.prompter.messages[0].kind, int(qm::MessageKind::Warning));
    } else {
        QVERIFY(services.prompter.messages.isEmpty());
    }
}

// What the mail program is handed: the address, the subject, and a body whose
// "%0d%0d" are blank lines, not the text "%0d".
void TestMakerScreens::updateMailReachesTheMailProgramIntact() {
    const QUrl url = qm::DesktopShell::urlOf(UpdateMailAddress());
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), u"mailto"_s);
    QCOMPARE(url.path(), u"updates@varnellsoftware.example"_s);
    const QUrlQuery query(url);
    QCOMPARE(query.queryItemValue(u"Subject"_s, QUrl::FullyDecoded), u"Quillmate Updates"_s);
    QCOMPARE(query.queryItemValue(u"body"_s, QUrl::FullyDecoded),
             u"Please inform me of updates to Quillmate   \r\rI am using Version 2.0a   \r\r"
             "Reference : QMT   \r\rAdditional comments :"_s);
    const QByteArray sent = url.toEncoded();
    QVERIFY2(sent.contains("Quillmate%20Updates"), sent.constData());
    QVERIFY2(!sent.contains("%250"), sent.constData());
}

// Every topic a screen can carry has its page, every page is reached from the
// contents, and every link, anchor included, leads somewhere.
void TestMakerScreens::everyTopicHasAPageAndEveryLinkResolves() {
    const QMetaEnum topics = QMetaEnum::fromType<qm::HelpTopic>();
    QVERIFY(topics.keyCount() >= 12);
    QStringList pages;
    for (int i = 0; i < topics.keyCount(); ++i) {
        const QString url = qm::HelpPageUrl(qm::HelpTopic(topics.value(i)));
        const QString path = url.mid(3); // "qrc:/help/x.html" -> ":/help/x.html"
        QVERIFY2(QFile::exists(path), qPrintable(url));
        pages.append(path);
    }
    QDirIterator files(u":/help"_s, {u"*.html"_s});
    while (files.hasNext()) {
        const QString file = files.next();
        QVERIFY2(pages.contains(file), qPrintable(file + u" belongs to no topic"_s));
    }

    static const QRegularExpression href(uR"re(href="([^"]*)")re"_s);
    static const QRegularExpression title(uR"(<title>[^<]+</title>)"_s);
    QStringList reached{u":/help/Contents.html"_s};
    for (const QString &page : pages) {
        const QString html = ResourceText(page);
        QVERIFY2(title.match(html).hasMatch(), qPrintable(page));
        for (auto match = href.globalMatch(html); match.hasNext();) {
            const QString link = match.next().captured(1);
            const QUrl target = QUrl(u"qrc"_s + page).resolved(QUrl(link));
            QVERIFY2(target.scheme() == u"qrc"_s, qPrintable(page + u": "_s + link));
            const QString path = u":"_s + target.path();
            QVERIFY2(QFile::exists(path), qPrintable(page + u": "_s + link));
            if (target.hasFragment()) {
                const QString anchor = target.fragment();
                const QString text = ResourceText(path);
                QVERIFY2(text.contains(u"id=\""_s + anchor + u'"') ||
                             text.contains(u"name=\""_s + anchor + u'"'),
                         qPrintable(page + u": "_s + link));
            }
            if (page.endsWith(u"/Contents.html"_s))
                reached.append(path);
        }
    }
    for (const QString &page : pages)
        QVERIFY2(reached.contains(page), qPrintable(page + u" is not in the contents"_s));
}

void TestMakerScreens::helpWindowGoesBackAndForward() {
    qm::test::TestServices services;
    qm::HelpWindow help;
    help.showTopic(qm::HelpTopic::Notes);
    QVERIFY(QTest::qWaitForWindowActive(&help));
    QCOMPARE(help.page(), QUrl(u"qrc:/help/Notes.html"_s));
    auto *browser = help.findChild<QTextBrowser *>(u"txtHelp"_s);
    QVERIFY(browser->toPlainText().contains(u"Notes"_s));
    auto *back = help.findChild<QPushButton *>(u"cmdHelpBack"_s);
    auto *forward = help.findChild<QPushButton *>(u"cmdHelpForward"_s);
    QVERIFY(!back->isEnabled());

    QTest::keyClick(browser, Qt::Key_Home, Qt::AltModifier);
    QCOMPARE(help.page(), QUrl(u"qrc:/help/Contents.html"_s));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(help.page(), QUrl(u"qrc:/help/Notes.html"_s));
    QTest::keyClick(browser, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(help.page(), QUrl(u"qrc:/help/Contents.html"_s));
    QTest::keyClick(browser, Qt::Key_Escape);
    QVERIFY(!help.isVisible());
}

QTEST_MAIN(TestMakerScreens)
#include "tst_makerscreens.moc"
