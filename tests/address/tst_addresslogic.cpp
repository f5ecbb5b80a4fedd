#include "address/AddressBook.h"
#include "foundation/LineFiles.h"
#include "foundation/ui/MailTo.h"
#include "support/TestServices.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using test::ReadBytes;
using test::TestData;

namespace {

const QChar Sep(0x00FF);

// "key|type|company|last|first|telephone" -> a contact.
AddressRecord contact(const QString &entry) {
    const QStringList parts = entry.split(u'|');
    AddressRecord record;
    for (int i = 0; i < 5; ++i)
        record[i] = parts.value(i);
    record[12] = parts.value(5);
    return record;
}

QList<AddressRecord> contacts(const QStringList &entries) {
    QList<AddressRecord> records;
    for (const QString &entry : entries)
        records.append(contact(entry));
    return records;
}

// The rows as "cell/cell/cell" texts.
QStringList rowTexts(const AddressView &view) {
    QStringList texts;
    for (const AddressRow &row : view.rows)
        texts.append(row.cells.join(u'/'));
    return texts;
}

const QStringList Book = {
    u"301|P||Smith|John|0113 496"_s, u"302|P||Adams|Ann|01904 555"_s,
    u"303|W|Acme Ltd|||0161 100"_s,  u"304|W|acme ltd|Brown||0161 200"_s,
    u"|P||Ghost|Blank Key|999"_s,    u"305|W|Zephyr Ltd|Young|Ian|"_s,
};

} // namespace

class TestAddressLogic : public QObject {
    Q_OBJECT
private slots:
    void viewOrdersAndFilters_data();
    void viewOrdersAndFilters();
    void sortTexts();
    void currentKeySelectsFirstInFile();
    void sharedKeysListedApart();
    void search_data();
    void search();
    void searchAmongPunctuation_data();
    void searchAmongPunctuation();
    void deleteQuestionNamesTheContact_data();
    void deleteQuestionNamesTheContact();
    void mailAddress_data();
    void mailAddress();
    void titles_data();
    void titles();
    void saveReasons_data();
    void saveReasons();
    void birthdayGoesToOccasionList();
};

void TestAddressLogic::viewOrdersAndFilters_data() {
    QTest::addColumn<QStringList>("book");
    QTest::addColumn<AddressOrder>("order");
    QTest::addColumn<ContactFilter>("filter");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("personal by name, as typed")
        << Book << AddressOrder::Name << ContactFilter::Personal
        << QStringList{u"Adams, Ann/01904 555"_s, u"Smith, John/0113 496"_s};
    // A company alone has an empty Name cell; a last name alone too, but it
    // is ordered by that last name.
    QTest::newRow("all by company, equal companies by key")
        << Book << AddressOrder::Company << ContactFilter::All
        << QStringList{u"/Smith, John/0113 496"_s, u"/Adams, Ann/01904 555"_s,
                       u"Acme Ltd//0161 100"_s, u"acme ltd//0161 200"_s,
                       u"Zephyr Ltd/Young, Ian/"_s};
    QTest::newRow("business by name")
        << Book << AddressOrder::Name << ContactFilter::Business
        << QStringList{u"Acme Ltd//0161 100"_s, u"acme ltd//0161 200"_s,
                       u"Zephyr Ltd/Young, Ian/"_s};
    QTest::newRow("all by telephone")
        << Book << AddressOrder::Telephone << ContactFilter::All
        << QStringList{u"Zephyr Ltd/Young, Ian/"_s, u"/Smith, John/0113 496"_s,
                       u"Acme Ltd//0161 100"_s, u"acme ltd//0161 200"_s,
                       u"/Adams, Ann/01904 555"_s};
    // A value sorts before its own continuations: Jo before John.
    QTest::newRow("shorter value first")
        << QStringList{u"401|P||Smith|John|"_s, u"402|P||Smith|Jo|"_s, u"403|P||Smit||"_s}
        << AddressOrder::Name << ContactFilter::Personal
        << QStringList{u"/"_s, u"Smith, Jo/"_s, u"Smith, John/"_s};
    QTest::newRow("nothing personal") << QStringList{u"303|W|Acme Ltd|||1"_s} << AddressOrder::Name
                                      << ContactFilter::Personal << QStringList();
}

void TestAddressLogic::viewOrdersAndFilters() {
    QFETCH(QStringList, book);
    QFETCH(AddressOrder, order);
    QFETCH(ContactFilter, filter);
    QFETCH(QStringList, rows);
    const AddressView view = FillAddressView(contacts(book), order, filter, -1);
    QCOMPARE(rowTexts(view), rows);
    QCOMPARE(view.lstAddress.size(), rows.size());
    // The blank key is neither listed nor counted.
    QCOMPARE(view.AddressCount,
             int(book.size() - book.filter(QRegularExpression(u"^\\|"_s)).size()));
    QCOMPARE(view.companyShown, filter != ContactFilter::Personal);
}

void TestAddressLogic::sortTexts() {
    const AddressRecord smith = contact(u"301|P|Acme|Smith|John|0113 496"_s);
    QCOMPARE(ContactSortText(smith, AddressOrder::Company), u"ACME"_s + Sep + u"301"_s);
    QCOMPARE(ContactSortText(smith, AddressOrder::Name), u"SMITH, JOHN"_s + Sep + u"301"_s);
    QCOMPARE(ContactSortText(smith, AddressOrder::Telephone), u"0113 496"_s + Sep + u"301"_s);
    QCOMPARE(SearchCaption(AddressOrder::Telephone), u"Search By Telphone"_s);
    QCOMPARE(OrderFromName(u"Telephone"_s), AddressOrder::Telephone);
    QCOMPARE(OrderFromName(u"rubbish"_s), AddressOrder::Company);
    QCOMPARE(FilterFromCode(u"W"_s), ContactFilter::Business);
    QCOMPARE(FilterFromCode(QString()), ContactFilter::All);
    QCOMPARE(OrderForFilter(AddressOrder::Company, ContactFilter::Personal), AddressOrder::Name);
    QCOMPARE(OrderForFilter(AddressOrder::Telephone, ContactFilter::Personal),
             AddressOrder::Telephone);
    QCOMPARE(OrderForFilter(AddressOrder::Company, ContactFilter::Business), AddressOrder::Company);
}

// After a save the saved contact (first in the file) is selected, also when
// an older record shares its key.
void TestAddressLogic::currentKeySelectsFirstInFile() {
    const QList<AddressRecord> book =
        contacts({u"302|P||Zed|Ann|"_s, u"301|P||Adams|Bob|"_s, u"302|P||Baker|Cy|"_s});
    QCOMPARE(FillAddressView(book, AddressOrder::Name, ContactFilter::All, 302).selectedRow, 2);
    QCOMPARE(FillAddressView(book, AddressOrder::Name, ContactFilter::All, 301).selectedRow, 0);
    QCOMPARE(FillAddressView(book, AddressOrder::Name, ContactFilter::All, -1).selectedRow, 0);
    QCOMPARE(FillAddressView(book, AddressOrder::Name, ContactFilter::All, 999).selectedRow, 0);
}

void TestAddressLogic::sharedKeysListedApart() {
    const AddressView view = FillAddressView(
        contacts({u"301|P||Same|Name|"_s, u"302|P||Other|One|"_s, u"301|P||Same|Name|2"_s}),
        AddressOrder::Name, ContactFilter::All, -1);
    QCOMPARE(rowTexts(view),
             (QStringList{u"/Other, One/"_s, u"/Same, Name/"_s, u"/Same, Name/2"_s}));
    QCOMPARE(view.rows[1].occurrence, 0);
    QCOMPARE(view.rows[2].occurrence, 1);
    QCOMPARE(view.AddressCount, 3);
}

void TestAddressLogic::search_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    // Rows by name: Adams, Ann / Smith, John / Smythe, Jo / Young, Ian.
    QTest::newRow("empty selects the first") << QString() << 0;
    QTest::newRow("prefix in any case") << u"sm"_s << 1;
    QTest::newRow("longer prefix") << u"SMY"_s << 2;
    QTest::newRow("trailing space is not searched") << u"smy "_s << 2;
    QTest::newRow("between rows: the next") << u"Sn"_s << 3;
    QTest::newRow("past the end: the last") << u"zz"_s << 3;
    QTest::newRow("whole cell then more") << u"adams, ann x"_s << 1;
}

void TestAddressLogic::search() {
    QFETCH(QString, text);
    QFETCH(int, row);
    const AddressView view = FillAddressView(contacts({u"1|P||Smith|John|"_s, u"2|P||Young|Ian|"_s,
                                                       u"3|P||adams|Ann|"_s, u"4|P||Smythe|Jo|"_s}),
                                             AddressOrder::Name, ContactFilter::Personal, -1);
    QCOMPARE(LocateRow(view, text), row);
    QCOMPARE(LocateRow(AddressView{}, text), -1);
}

void TestAddressLogic::searchAmongPunctuation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("company");
    // [ \ ] ^ _ ` sort before the letters in any letter case.
    QTest::newRow("a word after the punctuation") << u"Bravo"_s << u"Bravo Ltd"_s;
    QTest::newRow("lower case") << u"bravo"_s << u"Bravo Ltd"_s;
    QTest::newRow("underscore") << u"_"_s << u"_Old Supplier"_s;
    QTest::newRow("backquote") << u"`"_s << u"`Quoted`"_s;
    QTest::newRow("letter before all words") << u"a"_s << u"alpha"_s;
    QTest::newRow("after every row") << u"{"_s << u"Zulu"_s;
}

// The row found is where the text stands in the list as sorted.
void TestAddressLogic::searchAmongPunctuation() {
    QFETCH(QString, text);
    QFETCH(QString, company);
    const AddressView view = FillAddressView(
        contacts({u"1|W|Zulu|||"_s, u"2|W|Bravo Ltd|||"_s, u"3|W|_Old Supplier|||"_s,
                  u"4|W|alpha|||"_s, u"5|W|[Square]|||"_s, u"6|W|`Quoted`|||"_s}),
        AddressOrder::Company, ContactFilter::All, -1);
    QCOMPARE(view.rows.value(LocateRow(view, text)).cells.value(0), company);
}

void TestAddressLogic::deleteQuestionNamesTheContact_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("question");
    const QString ask = u"Are You Sure You Want To Delete "_s;
    QTest::newRow("company") << u"1|W|Bravo Ltd|Smith|Jo|"_s << int(ContactFilter::All)
                             << ask + u"'Bravo Ltd'?"_s;
    QTest::newRow("name where no company is shown")
        << u"1|P|Bravo Ltd|Smith|Jo|"_s << int(ContactFilter::Personal) << ask + u"'Smith, Jo'?"_s;
    QTest::newRow("last name alone")
        << u"1|P||Smith||"_s << int(ContactFilter::All) << ask + u"'Smith'?"_s;
    QTest::newRow("nothing to name it by")
        << u"1|P||| |0113"_s << int(ContactFilter::All) << ask + u"The Highlighted Record?"_s;
}

void TestAddressLogic::deleteQuestionNamesTheContact() {
    QFETCH(QString, entry);
    QFETCH(int, filter);
    QFETCH(QString, question);
    const AddressView view =
        FillAddressView(contacts({entry}), AddressOrder::Name, ContactFilter(filter), -1);
    QCOMPARE(ContactDeleteQuestion(view.rows.at(0)), question);
}

void TestAddressLogic::mailAddress_data() {
    QTest::addColumn<QString>("mailbox");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("address"); // null: refused
    const auto plain = [](const char *name, const QString &mailbox, const QString &address) {
        QTest::newRow(name) << mailbox << QString() << address;
    };
    plain("plain", u"ann@example.com"_s, u"mailto:ann@example.com"_s);
    plain("surrounding blanks", u" ann@example.com  "_s, u"mailto:ann@example.com"_s);
    plain("empty: no recipient", QString(), u"mailto:"_s);
    plain("characters a URL must encode", u"o'neil+a/b=c@example.com"_s,
          u"mailto:o'neil+a%2Fb%3Dc@example.com"_s);
    plain("accented", u"jos\u00e9@ex\u00e4mple.com"_s, u"mailto:jos%C3%A9@ex%C3%A4mple.com"_s);
    QTest::newRow("subject encoded") << u"ann@example.com"_s << u"a&b=c d"_s
                                     << u"mailto:ann@example.com?Subject=a%26b%3Dc%20d"_s;
    for (const QString &hostile : {
             u"?to=victim@evil.example&cc=all@evil.example&attach=~/.ssh/id_rsa"_s,
             u"a@b.example%0Dattach=/etc/passwd"_s,
             u"a@b.example?attach=/etc/passwd"_s,
             u"a@b.example&attach=/etc/passwd"_s,
             u"a@b.example#top"_s,
             u"file:///etc/passwd"_s,
             u"javascript:alert(1)"_s,
             u"javascript:alert(1)//@b.example"_s,
             u"a@b.example,all@evil.example"_s,
             u"Ann <ann@example.com>"_s,
             u"a@b@example.com"_s,
             u"ann smith@example.com"_s,
             u"a@b.example\rattach=/etc/passwd"_s,
             u"a\u202e@b.example"_s,
             u"@example.com"_s,
             u"ann@"_s,
             u"ann@.example"_s,
             u"ann..b@example.com"_s,
             u"ann"_s,
         })
        plain(qPrintable(u"refused: "_s + hostile), hostile, QString());
}

// Only one recipient and the texts given reach the mail program: anything
// that could add a recipient, a header or an attachment, or another scheme,
// is refused.
void TestAddressLogic::mailAddress() {
    QFETCH(QString, mailbox);
    QFETCH(QString, subject);
    QFETCH(QString, address);
    QCOMPARE(MailToAddress(mailbox, subject).value_or(QString()), address);
    QCOMPARE(IsMailbox(mailbox.trimmed()), !address.isNull() && !mailbox.isEmpty());
}

void TestAddressLogic::titles_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("completed");
    QTest::addColumn<QString>("accepted");
    QTest::newRow("m: the first of Mr, Mrs, Ms") << u"m"_s << u"Mr"_s << u"m"_s;
    QTest::newRow("mrs") << u"mrs"_s << u"Mrs"_s << u"Mrs"_s;
    QTest::newRow("d: Dr. with its point") << u"d"_s << u"Dr."_s << u"d"_s;
    QTest::newRow("dr without the point") << u"dr"_s << u"Dr."_s << u"dr"_s;
    QTest::newRow("PROF.") << u"PROF."_s << u"Prof."_s << u"Prof."_s;
    QTest::newRow("not a title") << u"Sir"_s << QString() << u"Sir"_s;
    QTest::newRow("longer than a title") << u"mrss"_s << QString() << u"mrss"_s;
    QTest::newRow("nothing") << QString() << QString() << QString();
}

void TestAddressLogic::titles() {
    QFETCH(QString, typed);
    QFETCH(QString, completed);
    QFETCH(QString, accepted);
    const int item = CompleteTitle(typed);
    QCOMPARE(item < 0 ? QString() : ContactTitles().at(item), completed);
    QCOMPARE(AcceptTitle(typed), accepted);
}

void TestAddressLogic::saveReasons_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("birthdayValid");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("no names, bad birthday")
        << u"|P||||"_s << 0 << QString() << false
        << u"You Must Specify A Company Name Or Contact Name\rBirthday Is Not A Valid Date\r"_s;
    QTest::newRow("company only") << u"|W|Acme|||"_s << 0 << QString() << true << QString();
    QTest::newRow("last name only") << u"|P||Adams||"_s << 0 << QString() << true << QString();
    QTest::newRow("blank names") << u"|P| | ||"_s << 0 << QString() << true
                                 << u"You Must Specify A Company Name Or Contact Name\r"_s;
    // Each field is one line of the file.
    QTest::newRow("line break in an address line")
        << u"|P||Adams||"_s << 8 << u"1 Mill\nLane"_s << true
        << u"Address Line 2 Cannot Contain A Line Break\r"_s;
    QTest::newRow("character the file cannot hold")
        << u"|P||Adams||"_s << 16 << u"\u0101@example.com"_s << true
        << u"Email Contains Characters That Cannot Be Saved\r"_s;
    QTest::newRow("y-diaeresis is kept")
        << u"|P||Adams||"_s << 3 << u"Caf\u00ff"_s << true << QString();
}

void TestAddressLogic::saveReasons() {
    QFETCH(QString, entry);
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, birthdayValid);
    QFETCH(QString, reasons);
    AddressRecord record = contact(entry);
    if (field)
        AddressField(record, field) = text;
    QCOMPARE(ContactSaveReasons(record, true, birthdayValid), reasons);
    QVERIFY(ContactSaveReasons(record, false, birthdayValid)
                .contains(u"You Must Select The Record Type (Personal Or Business)\r"_s));
}

// " Ann " Adams, 07/03/1961: the line is added once, in its sorted place, and
// "BirthAnn.Qmt" is created when missing.
void TestAddressLogic::birthdayGoesToOccasionList() {
    test::TestServices fixture;
    const QString line = BirthdayOccasionLine(u"07/03/1961"_s, u" Ann "_s, u"Adams"_s);
    QCOMPARE(line, u"0307"_s + Sep + u"Birthday For Ann Adams"_s);
    QCOMPARE(BirthdayLineReasons(line), QString());
    QVERIFY(
        !BirthdayLineReasons(BirthdayOccasionLine(u"07/03/1961"_s, u"\u0101"_s, u"A"_s)).isEmpty());

    QVERIFY(AddToBirthdayList(line));
    QCOMPARE(ReadBytes(fixture.path(BirthdayFileName)), "0307\xff"
                                                        "Birthday For Ann Adams\r\n"_ba);
    QVERIFY(!AddToBirthdayList(line));
    // Another letter case is another occasion; lines go to their places.
    QVERIFY(AddToBirthdayList(u"0307"_s + Sep + u"birthday for ann adams"_s));
    QVERIFY(AddToBirthdayList(u"0101"_s + Sep + u"New Year"_s));
    QCOMPARE(ReadBytes(fixture.path(BirthdayFileName)), TestData(u"address/birthdays.qmt"_s));
}

QTEST_GUILESS_MAIN(TestAddressLogic)
#include "tst_addresslogic.moc"
