#include "foundation/Errors.h"
#include "foundation/ui/ErrorReport.h"
#include "support/TestServices.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

// Failures raised inside event handlers reach the one application-wide report
// (Error kind, OK button) with cause and file, and the program keeps running.
class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void reportText_data();
    void reportText();
    void exceptionInHandlerIsReported();
};

void TestErrorReport::reportText_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cause only") << u"'x' Is Not A Valid Number"_s << QString()
                                << u"'x' Is Not A Valid Number"_s;
    QTest::newRow("with file") << u"Cannot Write The File: Disk full"_s << u"/data/Diary.Qmt"_s
                               << u"Cannot Write The File: Disk full\r\rFile : /data/Diary.Qmt"_s;
}

void TestErrorReport::reportText() {
    QFETCH(QString, cause);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const qm::FileError error(cause, file);
    QCOMPARE(error.reportText(), expected);
    QCOMPARE(QString::fromUtf8(error.what()), expected);
}

void TestErrorReport::exceptionInHandlerIsReported() {
    qm::test::TestServices fixture;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, qm::Reported([&clicks](bool) {
        ++clicks;
        throw qm::FileError(u"Cannot Write The File: Disk full"_s, u"Diary.Qmt"_s);
    }));
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(fixture.prompter.messages.size(), 1);
    QCOMPARE(fixture.prompter.messages[0].kind, 3);    // Error
    QCOMPARE(fixture.prompter.messages[0].buttons, 8); // OK
    QVERIFY(fixture.prompter.messages[0].text.startsWith(u"Cannot Write The File: Disk full"_s));
    QVERIFY(fixture.prompter.messages[0].text.contains(u"Diary.Qmt"_s));

    // The event loop is still alive: a timer set afterwards fires, and a
    // conversion failure that a handler did not catch itself reaches the
    // application's net the same way.
    bool fired = false;
    QTimer::singleShot(0, [&fired] {
        fired = true;
        throw qm::ConversionError(u"'abc' Is Not A Valid Number"_s);
    });
    QTRY_VERIFY(fired);
    QTRY_COMPARE(fixture.prompter.messages.size(), 2);
    QCOMPARE(fixture.prompter.messages[1].text, u"'abc' Is Not A Valid Number"_s);
}

int main(int argc, char **argv) {
    qm::QuillmateApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorreport.moc"
