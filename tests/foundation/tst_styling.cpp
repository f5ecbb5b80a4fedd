#include "foundation/ColourScheme.h"
#include "foundation/ui/Styling.h"
#include "support/TestServices.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;

// Colour numbers to colours, centring, and StyleForm painting each kind of
// control from the current scheme.
class TestStyling : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void colourToQColor_data();
    void colourToQColor();
    void centreForm_data();
    void centreForm();
    void styleForm_data();
    void styleForm();
    void mainWindowKeepsItsBackground();
    void dropShadowPanelTakesParentFontOffStandardDpi_data();
    void dropShadowPanelTakesParentFontOffStandardDpi();
    void formControlsSkipInnerParts();
    void gradientPanelPaints();
};

namespace {

QColor base(QWidget *widget) {
    return widget->palette().color(QPalette::Base);
}
QColor window(QWidget *widget) {
    return widget->palette().color(QPalette::Window);
}

QIcon solidIcon(const QColor &colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QColor iconColour(const QIcon &icon) {
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

template <typename T> T *add(QWidget *parent, const QString &name) {
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

} // namespace

void TestStyling::cleanup() {
    SetCurrentColourScheme(ClassicColourScheme());
    SetButtonIconProvider({});
}

void TestStyling::colourToQColor_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("red in the low byte") << 0x0000FFu << QColor(255, 0, 0);
    QTest::newRow("blue in the high byte") << 0xFF0000u << QColor(0, 0, 255);
    QTest::newRow("light yellow") << 0x80FFFFu << QColor(255, 255, 128);
    QTest::newRow("window background") << 0xFF000005u << QColor(1, 1, 1);
    QTest::newRow("window text") << 0xFF000008u << QColor(2, 2, 2);
    QTest::newRow("button face") << 0xFF00000Fu << QColor(3, 3, 3);
    QTest::newRow("highlight") << 0xFF00000Du << QColor(4, 4, 4);
    QTest::newRow("unknown system index") << 0xFF0000C8u << QColor(5, 5, 5);
}

void TestStyling::colourToQColor() {
    QFETCH(uint, value);
    QFETCH(QColor, expected);
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 1, 1));
    palette.setColor(QPalette::WindowText, QColor(2, 2, 2));
    palette.setColor(QPalette::Button, QColor(3, 3, 3));
    palette.setColor(QPalette::Highlight, QColor(4, 4, 4));
    palette.setColor(QPalette::Window, QColor(5, 5, 5));
    QCOMPARE(ColourToQColor(value, palette), expected);
}

void TestStyling::centreForm_data() {
    QTest::addColumn<QSize>("form");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("even") << QSize(300, 200) << QPoint(362, 284);
    QTest::newRow("odd remainder drops the half") << QSize(301, 201) << QPoint(361, 283);
    QTest::newRow("wider than the screen rounds toward zero") << QSize(1101, 769) << QPoint(-38, 0);
}

void TestStyling::centreForm() {
    QFETCH(QSize, form);
    QFETCH(QPoint, expected);
    test::TestServices services; // screen 1024 x 768
    QWidget widget;
    widget.resize(form);
    CentreForm(&widget);
    QCOMPARE(widget.pos(), expected);
}

void TestStyling::styleForm_data() {
    QTest::addColumn<QString>("style");
    QTest::newRow("classic") << u"CLASSIC"_s;
    QTest::newRow("grey") << u"GREY"_s; // solid panels, system colours for lists and fields
}

void TestStyling::styleForm() {
    QFETCH(QString, style);
    test::TestServices services;
    const ColourScheme scheme = *NamedColourScheme(style);
    SetCurrentColourScheme(scheme);
    SetButtonIconProvider([](int index) { return solidIcon(index == 4 ? Qt::green : Qt::red); });

    QDialog form;
    auto *outer = new GradientPanel(&form, 1);
    outer->setFont(QFont(u"Comic Sans MS"_s, 10));
    auto *group = new GradientPanel(outer, 2);
    auto *keep = new GradientPanel(outer, 0);
    keep->setColour(Qt::cyan);
    auto *plain = add<QFrame>(group, u"panPlain"_s);
    SetColourRole(plain, 3);
    auto *fifth = add<QWidget>(group, u"panFifth"_s);
    SetColourRole(fifth, 5);
    auto *outOfRange = add<QFrame>(group, u"panOdd"_s);
    SetColourRole(outOfRange, 7);
    auto *unmarked = add<QFrame>(group, u"panUnmarked"_s);
    auto *edit = add<QLineEdit>(group, u"txtEdit"_s);
    auto *readOnly = add<QLineEdit>(group, u"txtReadOnly"_s);
    readOnly->setReadOnly(true);
    const QColor readOnlyBase = base(readOnly);
    auto *memo = add<QTextEdit>(group, u"txtMemo"_s);
    auto *list = add<QListWidget>(group, u"lstList"_s);
    auto *grid = add<QTableWidget>(group, u"grdGrid"_s);
    auto *combo = add<QComboBox>(group, u"cboCombo"_s);
    auto *picture = add<QPushButton>(group, u"cmdPicture"_s);
    picture->setProperty(ImageIndexProperty, 4);
    auto *noPicture = add<QPushButton>(group, u"cmdNoPicture"_s);
    noPicture->setProperty(ImageIndexProperty, 0);
    noPicture->setIcon(solidIcon(Qt::blue));
    auto *plainButton = add<QPushButton>(group, u"cmdPlain"_s);

    const QColor panel1 = ColourToQColor(scheme.PanelColour1);
    const QColor field = ColourToQColor(scheme.FieldColour);
    const QColor listColour = ColourToQColor(scheme.ListColour);

    StyleForm(&form);

    QCOMPARE(window(&form), QApplication::palette().color(QPalette::Button));
    QCOMPARE(outer->colour(), panel1);
    QCOMPARE(outer->endColour(), ColourToQColor(scheme.PanelEndColour1));
    QCOMPARE(outer->isGradient(), scheme.PanelColour1 != scheme.PanelEndColour1);
    QCOMPARE(outer->font().family(), u"MS Sans Serif"_s);
    QCOMPARE(outer->font().pointSize(), 8);
    QCOMPARE(group->colour(), ColourToQColor(scheme.PanelColour2));
    QCOMPARE(group->endColour(), ColourToQColor(scheme.PanelEndColour2));
    QCOMPARE(keep->colour(), QColor(Qt::cyan));

    QVERIFY(plain->autoFillBackground());
    QCOMPARE(window(plain), ColourToQColor(scheme.PanelColour3));
    QCOMPARE(window(fifth), ColourToQColor(scheme.PanelColour5));
    QVERIFY(!outOfRange->autoFillBackground());
    QVERIFY(!unmarked->autoFillBackground());

    QCOMPARE(base(edit), field);
    QCOMPARE(base(readOnly), readOnlyBase);
    QCOMPARE(base(memo), field);
    QCOMPARE(base(combo), field);
    QCOMPARE(base(list), listColour);
    QCOMPARE(base(grid), listColour);

    QCOMPARE(iconColour(picture->icon()), QColor(Qt::green));
    QCOMPARE(iconColour(noPicture->icon()), QColor(Qt::blue));
    for (QPushButton *button : {picture, noPicture, plainButton})
        QCOMPARE(button->font().family(), u"MS Sans Serif"_s);
}

void TestStyling::mainWindowKeepsItsBackground() {
    test::TestServices services;
    QMainWindow main;
    QPalette palette = main.palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    main.setPalette(palette);
    auto *picture = new QPushButton(&main);
    picture->setProperty(ImageIndexProperty, 3);
    picture->setIcon(solidIcon(Qt::blue));

    StyleForm(&main); // no icon provider installed yet

    QCOMPARE(window(&main), QColor(Qt::magenta));
    QCOMPARE(iconColour(picture->icon()), QColor(Qt::blue));
}

void TestStyling::dropShadowPanelTakesParentFontOffStandardDpi_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("takesParentFont");
    QTest::newRow("96 dpi") << 96 << false;
    QTest::newRow("120 dpi") << 120 << true;
}

void TestStyling::dropShadowPanelTakesParentFontOffStandardDpi() {
    QFETCH(int, dpi);
    QFETCH(bool, takesParentFont);
    test::TestServices services;
    services.screen.m_dpi = dpi;
    QDialog form;
    form.setFont(QFont(u"Arial"_s, 9));
    auto *shadow = new GradientPanel(&form, 2);
    shadow->setDropShadow(true);
    shadow->setFont(QFont(u"Times"_s, 14));

    StyleForm(&form);

    QVERIFY(shadow->dropShadow());
    QCOMPARE(shadow->font().family() == u"Arial"_s, takesParentFont);
}

void TestStyling::formControlsSkipInnerParts() {
    QDialog form;
    auto *panel = add<QFrame>(&form, u"panOuter"_s);
    auto *combo = add<QComboBox>(panel, u"cboTitle"_s);
    combo->setEditable(true);
    auto *spin = add<QSpinBox>(panel, u"spnRemind"_s);
    auto *edit = add<QLineEdit>(&form, u"txtName"_s);
    auto *inner = new QDialog(&form); // a separate window, not a control

    const QList<QWidget *> controls = FormControls(&form);
    QCOMPARE(controls, (QList<QWidget *>{panel, combo, spin, edit}));
    QVERIFY(!controls.contains(combo->lineEdit()));
    QVERIFY(!controls.contains(inner));
}

void TestStyling::gradientPanelPaints() {
    QWidget parent;
    parent.resize(120, 80);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::white);
    parent.setPalette(palette);
    auto *panel = new GradientPanel(&parent);
    panel->setGeometry(0, 0, 105, 65);
    panel->setColour(Qt::red);
    panel->setEndColour(Qt::blue);
    panel->setDropShadow(true);

    QCOMPARE(panel->faceRect(), QRect(0, 0, 100, 60));
    QCOMPARE(panel->contentsRect().bottomRight(), QPoint(99, 59));
    const QImage image = parent.grab().toImage();
    const QColor top = image.pixelColor(50, 1);
    const QColor bottom = image.pixelColor(50, 58);
    QVERIFY(top.red() > 200 && top.blue() < 50);
    QVERIFY(bottom.blue() > 200 && bottom.red() < 50);
    // The shadow: darker than the background beside the face, nothing above it.
    QVERIFY(image.pixelColor(102, 30).lightness() < 230);
    QCOMPARE(image.pixelColor(102, 2), QColor(Qt::white));

    panel->setEndColour(Qt::red);
    QVERIFY(!panel->isGradient());
    QCOMPARE(parent.grab().toImage().pixelColor(50, 58), QColor(Qt::red));
}

QTEST_MAIN(TestStyling)
#include "tst_styling.moc"
