#include "address/AddressBook.h"
#include "address/ui/AddressPage.h"
#include "address/ui/TfrmNameMaint.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/MailTo.h"
#include "foundation/ui/MsgBox.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using qm::test::child;
using qm::test::click;
using test::ReadBytes;
using test::TestData;
using test::WriteBytes;

namespace {

// A contact file of count personal or business contacts, keys from 301.
void writeBook(const QString &path, int count, const QString &type = u"P"_s) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        AddressRecord record;
        record[0] = QString::number(301 + i);
        record[1] = type;
        record[2] = u"Company %1"_s.arg(i, 2, 10, QLatin1Char('0'));
        record[3] = u"Name %1"_s.arg(i, 2, 10, QLatin1Char('0'));
        record[4] = u"First"_s;
        record[12] = u"0113 %1"_s.arg(i);
        lines += QStringList(record.begin(), record.end());
    }
    WriteRecordFile(path, lines);
}

// The address page over the test data folder; editors are driven by a
// handler given the open form.
struct Desk {
    test::TestServices services;
    AddressPage page;

    void show() {
        page.ensureBuilt();
        page.showStep();
    }
    void drive(std::function<void(TfrmNameMaint &)> steps) {
        services.prompter.modalHandler = [steps](QDialog &dialog) {
            auto &form = static_cast<TfrmNameMaint &>(dialog);
            form.show();
            steps(form);
            if (form.isVisible())
                form.done(QDialog::Rejected);
            return form.result();
        };
    }
    QStringList names() const {
        QStringList all;
        for (const AddressRow &row : page.view().rows)
            all << row.cells.join(u'/');
        return all;
    }
    QStringList messages() const {
        QStringList all;
        for (const auto &message : services.prompter.messages)
            all << message.text;
        return all;
    }
    QByteArray file() const { return ReadBytes(services.path(AddressFileName)); }
};

// A contact editor of its own, shown and active so that leaving a field
// runs its exit rule.
struct Editor {
    test::TestServices services;
    AddressFile file;
    TfrmNameMaint form{file, EditMode::Add, AddressRecord{}, 0};

    Editor() {
        form.show();
        QApplication::setActiveWindow(&form);
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("the contact editor did not become active");
    }
    template <typename T = QLineEdit> T *operator[](const QString &name) {
        return child<T>(&form, name);
    }
    QLineEdit *title() { return child<QComboBox>(&form, u"cboTitle"_s)->lineEdit(); }
};

} // namespace

class TestAddressForms : public QObject {
    Q_OBJECT
private slots:
    void gridLayoutPerFilter_data();
    void gridLayoutPerFilter();
    void showingAgainReadsOnlyAChangedFile_data();
    void showingAgainReadsOnlyAChangedFile();
    void filterAndOrderAreRemembered();
    void searchSelectsAsTyped();
    void deleteTakesTheContactSearchedFor();
    void sharedKeysEditAndDeleteTheChosenRecord();
    void truncatedFileKeepsItsTail();
    void saveRefusals_data();
    void saveRefusals();
    void savedBirthdayRoundTrip();
    void titleCompletion_data();
    void titleCompletion();
    void postcodeTypedInCapitals_data();
    void postcodeTypedInCapitals();
    void mailToContact();
    void birthdayToOccasionList();
};

void TestAddressForms::gridLayoutPerFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("contacts");
    QTest::addColumn<QList<int>>("leading"); // the widths before the telephone's
    // Nine contacts and the heading fill the grid; one more brings the bar.
    QTest::newRow("all, 9") << u"B"_s << 9 << QList<int>{163, 135};
    QTest::newRow("all, 10") << u"B"_s << 10 << QList<int>{163, 135};
    QTest::newRow("business, 10") << u"W"_s << 10 << QList<int>{163, 135};
    QTest::newRow("personal, 9") << u"P"_s << 9 << QList<int>{258};
    QTest::newRow("personal, 30") << u"P"_s << 30 << QList<int>{258};
    QTest::newRow("no file") << u"B"_s << 0 << QList<int>{163, 135};
}

// The columns fill the grid beside its scroll bar or without it, a long
// telephone number stays whole, the ordering buttons lie over their columns
// and the grid lines up with the panels below it.
void TestAddressForms::gridLayoutPerFilter() {
    QFETCH(QString, filter);
    QFETCH(int, contacts);
    QFETCH(QList<int>, leading);
    Desk desk;
    desk.services.settings.m_values[u"Address Contacts"_s] = filter;
    if (contacts)
        writeBook(desk.services.path(AddressFileName), contacts, filter == u"B" ? u"P"_s : filter);
    desk.show();
    desk.page.show();
    auto *grid = child<QTableView>(&desk.page, u"grdAddress"_s);
    QTRY_COMPARE(grid->verticalScrollBar()->isVisible(), contacts > 9);
    QCOMPARE(grid->model()->columnCount(), leading.size() + 1);
    QCOMPARE(grid->model()->rowCount(), qMax(1, contacts));
    QList<QString> buttons = {u"cmdOrdComp"_s, u"cmdOrdName"_s, u"cmdOrdTele"_s};
    if (filter == u"P")
        buttons.removeFirst();
    int total = 0;
    for (int column = 0; column < buttons.size(); ++column)
        total += grid->columnWidth(column);
    QCOMPARE(total, grid->viewport()->width());
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    QVERIFY(grid->columnWidth(buttons.size() - 1) >=
            grid->fontMetrics().horizontalAdvance(u"0117 496 0123"_s) + 2 * margin);
    const QRect panels = child(&desk.page, u"panContacts"_s)
                             ->geometry()
                             .united(child(&desk.page, u"panLocate"_s)->geometry());
    QCOMPARE(grid->geometry().left(), panels.left());
    QCOMPARE(grid->geometry().right(), panels.right());
    int left = 0;
    for (int column = 0; column < buttons.size(); ++column) {
        if (column < leading.size())
            QCOMPARE(grid->columnWidth(column), leading[column]);
        const QRect button = child(&desk.page, buttons[column])->geometry();
        QCOMPARE(button.left(), grid->viewport()->mapTo(&desk.page, QPoint(left, 0)).x());
        QCOMPARE(button.width(), grid->columnWidth(column));
        left += grid->columnWidth(column);
    }
    QCOMPARE(child(&desk.page, u"cmdOrdComp"_s)->isHidden(), filter == u"P");
    QCOMPARE(child(&desk.page, u"cmdNameEdit"_s)->isEnabled(), contacts > 0);
    QCOMPARE(child(&desk.page, u"cmdNameDelete"_s)->isEnabled(), contacts > 0);
    QCOMPARE(desk.page.selectedRow(), contacts ? 0 : -1);
}

void TestAddressForms::showingAgainReadsOnlyAChangedFile_data() {
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to"); // written by another copy between the showings
    QTest::addColumn<QString>("telephone");
    QTest::newRow("unchanged") << QByteArray("0113 1") << QByteArray() << u"0113 1"_s;
    QTest::newRow("same size, same time")
        << QByteArray("0113 1") << QByteArray("0113 9") << u"0113 9"_s;
    QTest::newRow("longer") << QByteArray("0113 1") << QByteArray("0113 12") << u"0113 12"_s;
    QTest::newRow("prepared, then changed")
        << QByteArray("0113 1") << QByteArray("0113 9") << u"0113 9"_s;
}

void TestAddressForms::showingAgainReadsOnlyAChangedFile() {
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, telephone);
    Desk desk;
    const QString path = desk.services.path(AddressFileName);
    writeBook(path, 2);
    if (QTest::currentDataTag() == QByteArray("prepared, then changed")) {
        // Made ready on another thread at start-up, changed before it was shown.
        desk.page.prepareView();
        QTest::qWait(50);
    } else {
        desk.show();
    }
    QString shown;
    if (desk.page.isBuilt()) {
        shown = desk.page.view().rows.at(1).cells.last();
        QCOMPARE(shown, u"0113 1"_s);
    }
    if (!to.isEmpty()) {
        const QDateTime stamp = QFileInfo(path).lastModified();
        WriteBytes(path, desk.file().replace(from, to));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    desk.show();
    const QString again = desk.page.view().rows.at(1).cells.last();
    QCOMPARE(again, telephone);
    // An unchanged file is not decoded again: the view holds the same texts.
    if (!shown.isNull())
        QCOMPARE(again.constData() == shown.constData(), to.isEmpty());
}

// Personal contacts have no company column: the company order turns into
// the name order, and both settings keep what was chosen.
void TestAddressForms::filterAndOrderAreRemembered() {
    Desk desk;
    writeBook(desk.services.path(AddressFileName), 3);
    desk.show();
    QCOMPARE(child<QLabel>(&desk.page, u"lblLocate"_s)->text(), u"Search By Company"_s);
    click(&desk.page, u"optPersonal"_s);
    QCOMPARE(desk.page.currentOrder(), AddressOrder::Name);
    QCOMPARE(desk.services.settings.m_values.value(u"Address Order"_s), u"Name"_s);
    QCOMPARE(desk.services.settings.m_values.value(u"Address Contacts"_s), u"P"_s);
    click(&desk.page, u"cmdOrdTele"_s);
    QCOMPARE(child<QLabel>(&desk.page, u"lblLocate"_s)->text(), u"Search By Telphone"_s);
    QVERIFY(child(&desk.page, u"cmdOrdTele"_s)->font().bold());
    QVERIFY(child(&desk.page, u"cmdOrdTele"_s)->font().italic());
    QVERIFY(!child(&desk.page, u"cmdOrdName"_s)->font().bold());
    QCOMPARE(desk.services.settings.m_values.value(u"Address Order"_s), u"Telephone"_s);

    // The next visit starts from the settings, the filter's rule included.
    AddressPage again;
    again.showStep();
    QVERIFY(child<QRadioButton>(&again, u"optPersonal"_s)->isChecked());
    QCOMPARE(again.currentOrder(), AddressOrder::Telephone);
    desk.services.settings.m_values[u"Address Order"_s] = u"Company"_s;
    AddressPage third;
    third.showStep();
    QCOMPARE(third.currentOrder(), AddressOrder::Name);
    QCOMPARE(desk.services.settings.m_values.value(u"Address Order"_s), u"Name"_s);
}

void TestAddressForms::searchSelectsAsTyped() {
    Desk desk;
    writeBook(desk.services.path(AddressFileName), 12);
    desk.services.settings.m_values[u"Address Order"_s] = u"Name"_s;
    desk.show();
    auto *locate = child<QLineEdit>(&desk.page, u"txtLocate"_s);
    QTest::keyClicks(locate, u"name 07"_s);
    QCOMPARE(desk.page.selectedRow(), 7);
    QTest::keyClicks(locate, u"5"_s);
    QCOMPARE(desk.page.selectedRow(), 8);
    QTest::keyClick(locate, Qt::Key_Down);
    QCOMPARE(desk.page.selectedRow(), 9);
    locate->clear();
    QCOMPARE(desk.page.selectedRow(), 0);
    QTest::keyClicks(locate, u"zz"_s);
    QCOMPARE(desk.page.selectedRow(), 11);
}

// Typing a company's name and pressing Delete asks about that company and
// deletes it, also where punctuation sorts before the letters.
void TestAddressForms::deleteTakesTheContactSearchedFor() {
    Desk desk;
    QStringList lines;
    for (const auto &[key, company] :
         {std::pair{u"301"_s, u"_Old Supplier"_s}, std::pair{u"302"_s, u"Bravo Ltd"_s}}) {
        AddressRecord record;
        record[0] = key;
        record[1] = u"W"_s;
        record[2] = company;
        lines += QStringList(record.begin(), record.end());
    }
    WriteRecordFile(desk.services.path(AddressFileName), lines);
    desk.show();
    QTest::keyClicks(child(&desk.page, u"txtLocate"_s), u"Bravo"_s);
    click(&desk.page, u"cmdNameDelete"_s);
    QCOMPARE(desk.messages(), QStringList{u"Are You Sure You Want To Delete 'Bravo Ltd'?"_s});
    QCOMPARE(desk.names(), QStringList{u"_Old Supplier//"_s});
}

// An older file with two records under key 301: each is listed, Edit opens
// the one selected, and neither an edit nor a delete loses the other.
void TestAddressForms::sharedKeysEditAndDeleteTheChosenRecord() {
    Desk desk;
    const QString path = desk.services.path(AddressFileName);
    QStringList lines;
    for (const QString &name : {u"Alpha"_s, u"Beta"_s}) {
        AddressRecord record;
        record[0] = u"301"_s;
        record[1] = u"P"_s;
        record[3] = name;
        record[4] = u"X"_s;
        lines += QStringList(record.begin(), record.end());
    }
    WriteRecordFile(path, lines);
    desk.services.settings.m_values[u"Address Order"_s] = u"Name"_s;
    desk.show();
    QCOMPARE(desk.names(), (QStringList{u"/Alpha, X/"_s, u"/Beta, X/"_s}));

    QTest::keyClicks(child(&desk.page, u"txtLocate"_s), u"be"_s);
    QString opened;
    desk.drive([&](TfrmNameMaint &form) {
        opened = child<QLineEdit>(&form, u"txtSurname"_s)->text();
        child<QLineEdit>(&form, u"txtForename"_s)->setText(u"Edited"_s);
        click(&form, u"cmdUpdate"_s);
    });
    click(&desk.page, u"cmdNameEdit"_s);
    QCOMPARE(opened, u"Beta"_s);
    QCOMPARE(desk.names(), (QStringList{u"/Alpha, X/"_s, u"/Beta, Edited/"_s}));
    QCOMPARE(desk.page.selectedRow(), 1);

    QTest::keyClicks(child(&desk.page, u"txtLocate"_s), u"al"_s);
    click(&desk.page, u"cmdNameDelete"_s);
    QCOMPARE(desk.messages().last(), u"Are You Sure You Want To Delete 'Alpha, X'?"_s);
    QCOMPARE(desk.names(), QStringList{u"/Beta, Edited/"_s});
}

// 2 whole records and 5 lines of a third: the two are listed, and saving a
// contact keeps the 5 lines as they were at the end of the file.
void TestAddressForms::truncatedFileKeepsItsTail() {
    Desk desk;
    const QString path = desk.services.path(AddressFileName);
    writeBook(path, 2);
    const QByteArray tail = "303\r\nP\r\n\r\nCut\r\nShort";
    WriteBytes(path, ReadBytes(path) + tail);
    WriteBytes(desk.services.path(NextKeyFileName), "302\r\n");
    desk.show();
    QCOMPARE(desk.names().size(), 2);
    desk.drive([](TfrmNameMaint &form) {
        child<QLineEdit>(&form, u"txtSurname"_s)->setText(u"New"_s);
        click(&form, u"cmdUpdate"_s);
    });
    click(&desk.page, u"cmdNameAdd"_s);
    QCOMPARE(desk.names().size(), 3);
    QVERIFY(desk.file().endsWith("0113 1\r\n\r\n\r\n\r\n\r\n" + tail));
    QCOMPARE(ReadBytes(desk.services.path(NextKeyFileName)), "304\r\n"_ba);
}

void TestAddressForms::saveRefusals_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<QString>("message");
    QTest::newRow("no names, invalid birthday")
        << QString() << QString() << u"31/02/1961"_s
        << CannotSaveHeading +
               u"You Must Specify A Company Name Or Contact Name\rBirthday Is Not A Valid Date\r"_s;
    QTest::newRow("line break pasted into the postcode")
        << u"txtPostcode"_s << u"LS1\n4AB"_s << QString()
        << CannotSaveHeading + u"You Must Specify A Company Name Or Contact Name\r"
                               u"Postcode Cannot Contain A Line Break\r"_s;
}

// The form stays open with its entries and nothing is written.
void TestAddressForms::saveRefusals() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, birthday);
    QFETCH(QString, message);
    Editor editor;
    if (!field.isEmpty())
        editor[field]->setText(text);
    editor[u"txtBirthday"_s]->setText(birthday);
    click(&editor.form, u"cmdUpdate"_s);
    QCOMPARE(editor.services.prompter.messages.size(), 1);
    // The last reason's "\r" is not shown.
    QCOMPARE(editor.services.prompter.messages[0].text + u'\r', message);
    QVERIFY(editor.form.isVisible());
    QVERIFY(!editor.form.RecordSaved());
    QVERIFY(!QFile::exists(editor.services.path(AddressFileName)));
}

// The first contact of a fresh folder gets 301; its birthday is stored as
// yyyymmdd and shown again as typed. Editing keeps 301 and moves the
// contact to the front.
void TestAddressForms::savedBirthdayRoundTrip() {
    Desk desk;
    WriteBytes(desk.services.path(NextKeyFileName), "300\r\n");
    desk.drive([](TfrmNameMaint &form) {
        click(&form, u"optBusiness"_s);
        child<QLineEdit>(&form, u"txtCompany"_s)->setText(u"Acme"_s);
        child<QLineEdit>(&form, u"txtSurname"_s)->setText(u"Adams"_s);
        child<QLineEdit>(&form, u"txtForename"_s)->setText(u" Ann "_s);
        child<QComboBox>(&form, u"cboTitle"_s)->lineEdit()->setText(u"mrs"_s);
        child<QLineEdit>(&form, u"txtAdd2"_s)->setText(u"York"_s);
        child<QLineEdit>(&form, u"txtEmail"_s)->setText(u"ann@example.com"_s);
        QTest::keyClicks(child(&form, u"txtBirthday"_s), u"07031961"_s);
        click(&form, u"cmdUpdate"_s);
    });
    desk.show();
    click(&desk.page, u"cmdNameAdd"_s);
    QCOMPARE(desk.file(), TestData(u"address/first_contact.qmt"_s));
    QCOMPARE(ReadBytes(desk.services.path(NextKeyFileName)), "301\r\n"_ba);

    writeBook(desk.services.path(u"Other.Qmt"_s), 1);
    WriteBytes(desk.services.path(AddressFileName),
               ReadBytes(desk.services.path(u"Other.Qmt"_s)) + desk.file());
    desk.page.FillAddressView(AddressOrder::Company);
    QTest::keyClicks(child(&desk.page, u"txtLocate"_s), u"ac"_s);
    QString shown;
    desk.drive([&](TfrmNameMaint &form) {
        shown = EntryText(child<QLineEdit>(&form, u"txtBirthday"_s));
        click(&form, u"cmdUpdate"_s);
    });
    click(&desk.page, u"cmdNameEdit"_s);
    QCOMPARE(shown, u"07/03/1961"_s);
    QVERIFY(desk.file().startsWith(TestData(u"address/first_contact.qmt"_s)));
    QCOMPARE(child<QLineEdit>(&desk.page, u"txtLocate"_s)->text(), QString());
    QCOMPARE(desk.page.view().rows[desk.page.selectedRow()].cells[0], u"Acme"_s);
}

void TestAddressForms::titleCompletion_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("left");
    QTest::newRow("m") << QList<int>{Qt::Key_M} << u"mr"_s << u"r"_s << u"Mr"_s;
    QTest::newRow("m r s") << QList<int>{Qt::Key_M, Qt::Key_R, Qt::Key_S} << u"mrs"_s << QString()
                           << u"Mrs"_s;
    QTest::newRow("d r") << QList<int>{Qt::Key_D, Qt::Key_R} << u"dr."_s << u"."_s << u"Dr."_s;
    QTest::newRow("m then backspace")
        << QList<int>{Qt::Key_M, Qt::Key_Backspace} << u"m"_s << QString() << u"m"_s;
    QTest::newRow("no such title")
        << QList<int>{Qt::Key_X, Qt::Key_Y} << u"xy"_s << QString() << u"xy"_s;
}

void TestAddressForms::titleCompletion() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(QString, selected);
    QFETCH(QString, left);
    Editor editor;
    auto *combo = child<QComboBox>(&editor.form, u"cboTitle"_s);
    QLineEdit *title = editor.title();
    combo->setFocus(Qt::TabFocusReason);
    for (const int key : keys)
        QTest::keyClick(combo, Qt::Key(key));
    QCOMPARE(title->text(), text);
    QCOMPARE(title->selectedText(), selected);
    editor[u"txtAdd1"_s]->setFocus(Qt::TabFocusReason);
    QCOMPARE(title->text(), left);
}

void TestAddressForms::postcodeTypedInCapitals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << u"ls1 4ab"_s << u"LS1 4AB"_s;
    // µ and ß have no capital in the code page: they stay as typed.
    QTest::newRow("code page letters")
        << u"\u00e9t \u00ff \u00b5\u00df"_s << u"\u00c9T \u0178 \u00b5\u00df"_s;
}

// What the capitals make of typed letters can always be saved.
void TestAddressForms::postcodeTypedInCapitals() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Editor editor;
    WriteBytes(editor.services.path(NextKeyFileName), "300\r\n");
    // Key by key as a keyboard sends them (keyClicks takes only ASCII).
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, editor[u"txtPostcode"_s], Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    QCOMPARE(editor[u"txtPostcode"_s]->text(), shown);
    editor[u"txtSurname"_s]->setText(u"Adams"_s);
    click(&editor.form, u"cmdUpdate"_s);
    QCOMPARE(editor.services.prompter.messages.size(), 0);
    QVERIFY(editor.form.RecordSaved());
}

void TestAddressForms::mailToContact() {
    Editor editor;
    QLineEdit *email = editor[u"txtEmail"_s];
    email->setText(u"ann@example.com"_s);
    QTest::mouseDClick(email, Qt::LeftButton);
    QCOMPARE(editor.services.shell.opened, QStringList{u"mailto:ann@example.com"_s});
    QVERIFY(editor.services.prompter.messages.isEmpty());

    editor.services.shell.answer = false;
    email->clear();
    QTest::mouseDClick(email, Qt::LeftButton);
    QCOMPARE(editor.services.shell.opened.last(), u"mailto:"_s);
    QCOMPARE(editor.services.prompter.messages.size(), 1);
    QCOMPARE(editor.services.prompter.messages[0].text, qm::MailFailedMessage);
    QCOMPARE(editor.services.prompter.messages[0].kind, int(MessageKind::Error));

    // A stored address that would add recipients or attach the user's files
    // never reaches the desktop.
    editor.services.shell.answer = true;
    email->setText(u"?to=victim@evil.example&attach=~/.ssh/id_rsa"_s);
    QTest::mouseDClick(email, Qt::LeftButton);
    QCOMPARE(editor.services.shell.opened.size(), 2);
    QCOMPARE(editor.services.prompter.messages.size(), 2);
    QCOMPARE(editor.services.prompter.messages[1].text, qm::NotAMailboxMessage);
    QCOMPARE(editor.services.prompter.messages[1].kind, int(MessageKind::Warning));
}

// Missing entries are refused with nothing written; the birthday is added
// once, and Cancel does not take it back.
void TestAddressForms::birthdayToOccasionList() {
    Editor editor;
    const QString birthAnn = editor.services.path(BirthdayFileName);
    editor[u"txtForename"_s]->setText(u" Ann "_s);
    QTest::keyClicks(editor[u"txtBirthday"_s], u"07031961"_s);
    click(&editor.form, u"spdAdd"_s);
    QVERIFY(!QFile::exists(birthAnn));
    editor[u"txtSurname"_s]->setText(u"Adams"_s);
    click(&editor.form, u"spdAdd"_s);
    click(&editor.form, u"spdAdd"_s);
    const auto &messages = editor.services.prompter.messages;
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[0].text, AddressText::BirthdayNeeded);
    QCOMPARE(messages[1].text, AddressText::BirthdayAdded);
    QCOMPARE(messages[1].kind, int(MessageKind::Information));
    QCOMPARE(messages[2].text, AddressText::BirthdayExists);
    QCOMPARE(messages[2].kind, int(MessageKind::Warning));
    QCOMPARE(ReadBytes(birthAnn), "0307\xff"
                                  "Birthday For Ann Adams\r\n"_ba);

    editor.services.prompter.answers = {MessageResult::Yes};
    click(&editor.form, u"cmdCancel"_s);
    QVERIFY(!editor.form.isVisible());
    QVERIFY(QFile::exists(birthAnn));
}

QTEST_MAIN(TestAddressForms)
#include "tst_addressforms.moc"
