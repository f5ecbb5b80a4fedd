#include "foundation/ColourScheme.h"
#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using qm::ColourScheme;

// "Colours.Qmt": created from the default scheme of the screen's colour mode,
// read back when it exists, and refused with a conversion error when a number
// line is not a number.
class TestColourScheme : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void newFileFollowsColourMode_data();
    void newFileFollowsColourMode();
    void existingFileIsReadNotRewritten();
    void linesRoundTrip_data();
    void linesRoundTrip();
    void badFileRaisesConversionError_data();
    void badFileRaisesConversionError();
};

void TestColourScheme::cleanup() {
    qm::SetColourMode(u"HI"_s);
    qm::SetCurrentColourScheme(qm::ClassicColourScheme());
}

void TestColourScheme::newFileFollowsColourMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("style");
    QTest::newRow("high colour") << u"HI"_s << u"colours/Classic.Qmt"_s << u"CLASSIC"_s;
    QTest::newRow("256 colours") << u"256"_s << u"colours/Grey.Qmt"_s << u"GREY"_s;
}

void TestColourScheme::newFileFollowsColourMode() {
    QFETCH(QString, mode);
    QFETCH(QString, expectedFile);
    QFETCH(QString, style);
    qm::test::TestServices services;
    qm::SetColourMode(mode);
    qm::SetCurrentColourScheme(qm::OrangeColourScheme());

    qm::LoadColourScheme();

    const QByteArray expected = qm::test::TestData(expectedFile);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(qm::test::ReadBytes(services.path(qm::ColoursFileName)), expected);
    QCOMPARE(qm::CurrentColourScheme().ColourStyle, style);
    QCOMPARE(qm::CurrentColourScheme().ShadowFlag, 1);
}

void TestColourScheme::existingFileIsReadNotRewritten() {
    qm::test::TestServices services;
    // A scheme no start-up default produces: shadows off, a system colour.
    ColourScheme stored = qm::BlueColourScheme();
    stored.FieldColour = qm::SystemWindowColour;
    const QString path = services.path(qm::ColoursFileName);
    qm::WriteRecordFile(path, qm::ColourSchemeLines(stored));
    const QByteArray before = qm::test::ReadBytes(path);

    qm::SetColourMode(u"256"_s);
    qm::LoadColourScheme();

    QCOMPARE(qm::CurrentColourScheme(), stored);
    QCOMPARE(qm::test::ReadBytes(path), before);
}

void TestColourScheme::linesRoundTrip_data() {
    QTest::addColumn<QString>("style");
    for (const QString &style : {u"CLASSIC"_s, u"ORANGE"_s, u"BLUE"_s, u"GREY"_s})
        QTest::newRow(qPrintable(style)) << style;
}

void TestColourScheme::linesRoundTrip() {
    QFETCH(QString, style);
    const auto scheme = qm::NamedColourScheme(style);
    QVERIFY(scheme);
    QCOMPARE(scheme->ColourStyle, style);
    const QStringList lines = qm::ColourSchemeLines(*scheme);
    QCOMPARE(lines.size(), 13);
    QCOMPARE(qm::ParseColourSchemeLines(lines), *scheme);
}

void TestColourScheme::badFileRaisesConversionError_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = qm::test::TestData(u"colours/Classic.Qmt"_s);
    QByteArray word = good;
    word.replace("16433829", "Blue");
    QByteArray decimal = good;
    decimal.replace("\r\n1\r\n", "\r\n1.5\r\n");
    QByteArray tooLarge = good;
    tooLarge.replace("14606046", "4294967295");
    QTest::newRow("word") << word;
    QTest::newRow("fraction") << decimal;
    QTest::newRow("beyond 32 bits") << tooLarge;
    QTest::newRow("blank line") << QByteArray(good).replace("\r\n16777215\r\n", "\r\n\r\n");
    QTest::newRow("short file") << good.left(good.lastIndexOf("1\r\n"));
    QTest::newRow("empty file") << QByteArray();
}

void TestColourScheme::badFileRaisesConversionError() {
    QFETCH(QByteArray, content);
    qm::test::TestServices services;
    const QString path = services.path(qm::ColoursFileName);
    qm::test::WriteBytes(path, content);

    try {
        qm::LoadColourScheme();
        QFAIL("a bad colour file was accepted");
    } catch (const qm::ConversionError &error) {
        QCOMPARE(error.file(), path);
    }
    // Start-up carries on with the default scheme; the file is left alone.
    QCOMPARE(qm::CurrentColourScheme(), qm::DefaultColourScheme(u"HI"_s));
    QCOMPARE(qm::test::ReadBytes(path), content);
}

QTEST_GUILESS_MAIN(TestColourScheme)
#include "tst_colourscheme.moc"
