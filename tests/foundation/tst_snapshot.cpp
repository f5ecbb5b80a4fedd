#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/MsgBox.h"
#include "support/TestServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace qm;

// Unsaved-changes tracking of editor forms.
class TestSnapshot : public QObject {
    Q_OBJECT
private slots:
    void change_data();
    void change();
    void formsKeepTheirOwnSnapshots();
    void formNeverSnapshotted();
    void confirmDiscard_data();
    void confirmDiscard();
};

namespace {

// An editor form with one control of every kind, filled in.
struct EditorForm {
    QDialog form;
    QLineEdit *txtDescription = new QLineEdit(u"Dentist"_s, &form);
    QLineEdit *txtDate = new QLineEdit(&form);
    QTextEdit *rchNotes = new QTextEdit(u"Bring the card"_s, &form);
    QPlainTextEdit *txtMemo = new QPlainTextEdit(u"memo"_s, &form);
    QComboBox *cboTitle = new QComboBox(&form);
    QComboBox *cboCountry = new QComboBox(&form);
    QSpinBox *spnRemind = new QSpinBox(&form);
    QRadioButton *optHome = new QRadioButton(u"Home"_s, &form);
    QRadioButton *optWork = new QRadioButton(u"Work"_s, &form);
    QCheckBox *chkTentative = new QCheckBox(u"Tentative"_s, &form);

    EditorForm() {
        txtDate->setInputMask(u"99/99/9999"_s);
        txtDate->setText(u"15032024"_s);
        cboTitle->addItems({u"Mr"_s, u"Mrs"_s, u"Dr"_s});
        cboCountry->setEditable(true);
        cboCountry->addItems({u"England"_s, u"Wales"_s});
        spnRemind->setValue(15);
        optHome->setChecked(true);
    }
};

using Change = std::function<void(EditorForm &)>;

} // namespace

void TestSnapshot::change_data() {
    QTest::addColumn<Change>("edit");
    QTest::addColumn<bool>("changed");
    QTest::newRow("nothing") << Change([](EditorForm &) {}) << false;
    QTest::newRow("check box ticked")
        << Change([](EditorForm &f) { f.chkTentative->setChecked(true); }) << false;
    QTest::newRow("edit box") << Change([](EditorForm &f) {
        f.txtDescription->setText(u"Dentist "_s);
    }) << true;
    QTest::newRow("masked edit") << Change([](EditorForm &f) { f.txtDate->setText(u"16032024"_s); })
                                 << true;
    QTest::newRow("rich text") << Change([](EditorForm &f) { f.rchNotes->append(u"!"_s); }) << true;
    QTest::newRow("memo") << Change([](EditorForm &f) { f.txtMemo->clear(); }) << true;
    QTest::newRow("combo choice") << Change([](EditorForm &f) { f.cboTitle->setCurrentIndex(2); })
                                  << true;
    QTest::newRow("editable combo typed into")
        << Change([](EditorForm &f) { f.cboCountry->lineEdit()->setText(u"Scotland"_s); }) << true;
    QTest::newRow("spin box") << Change([](EditorForm &f) { f.spnRemind->setValue(30); }) << true;
    QTest::newRow("radio button") << Change([](EditorForm &f) { f.optWork->setChecked(true); })
                                  << true;
    QTest::newRow("changed and changed back") << Change([](EditorForm &f) {
        f.txtDescription->setText(u"x"_s);
        f.txtDescription->setText(u"Dentist"_s);
    }) << false;
}

void TestSnapshot::change() {
    QFETCH(Change, edit);
    QFETCH(bool, changed);
    EditorForm editor;
    SnapshotForm(&editor.form);
    edit(editor);
    QCOMPARE(FormChanged(&editor.form), changed);
}

void TestSnapshot::formsKeepTheirOwnSnapshots() {
    EditorForm main;
    SnapshotForm(&main.form);
    {
        // An editor opened over the main window takes its own snapshot.
        EditorForm editor;
        editor.txtDescription->setText(u"Optician"_s);
        editor.optWork->setChecked(true);
        SnapshotForm(&editor.form);

        QVERIFY(!FormChanged(&main.form));
        main.optWork->setChecked(true);
        QVERIFY(FormChanged(&main.form));
        QVERIFY(!FormChanged(&editor.form));
    }
    main.optHome->setChecked(true);
    QVERIFY(!FormChanged(&main.form));
}

void TestSnapshot::formNeverSnapshotted() {
    QDialog blank;
    new QLineEdit(&blank);
    new QRadioButton(&blank);
    QVERIFY(!FormChanged(&blank));

    EditorForm filled;
    QVERIFY(FormChanged(&filled.form));
}

void TestSnapshot::confirmDiscard_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("mayClose");
    QTest::addColumn<int>("questions");
    QTest::newRow("unchanged closes without asking") << false << 0 << true << 0;
    QTest::newRow("changed, yes") << true << MessageResult::Yes << true << 1;
    QTest::newRow("changed, no") << true << MessageResult::No << false << 1;
}

void TestSnapshot::confirmDiscard() {
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, mayClose);
    QFETCH(int, questions);
    test::TestServices services;
    services.prompter.answers = {answer};
    EditorForm editor;
    SnapshotForm(&editor.form);
    if (edited)
        editor.txtDescription->clear();

    QCOMPARE(ConfirmDiscard(&editor.form), mayClose);
    QCOMPARE(services.prompter.messages.size(), questions);
    if (questions)
        QCOMPARE(services.prompter.messages.first().text, LoseChangesQuestion);
}

QTEST_MAIN(TestSnapshot)
#include "tst_snapshot.moc"
