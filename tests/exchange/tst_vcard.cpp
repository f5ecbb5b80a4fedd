#include "exchange/Contacts.h"
#include "exchange/VCard.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using test::TestData;

namespace {

// The contacts as "Address.Qmt" holds them, keys from 301 as the caller
// issues them.
QByteArray AddressBytes(QList<AddressRecord> records) {
    QStringList lines;
    int key = 301;
    for (AddressRecord &record : records) {
        record[0] = QString::number(key++);
        for (const QString &field : record)
            lines.append(field);
    }
    return JoinRecordLines(lines);
}

QString NotesText(const ImportNotes &notes) {
    QStringList items;
    for (const auto &item : notes.items())
        items.append(item.first + u'=' + QString::number(item.second));
    return items.join(u"; ");
}

// "301|P|company|last|...": the 17 fields.
AddressRecord Record(const QString &fields) {
    AddressRecord record;
    const QStringList parts = fields.split(u'|');
    for (int i = 0; i < AddressFieldCount; ++i)
        record[i] = parts.value(i);
    return record;
}

QByteArray Card(const QByteArray &version, const QByteArray &body) {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "\r\nEND:VCARD\r\n";
}

const QList<AddressRecord> &DataSet() {
    static const QList<AddressRecord> records =
        SplitAddressRecords(SplitRecordLines(TestData(u"address/e2e_edited.qmt"_s)));
    return records;
}

// Records whose text the writer has to escape, fold or place with care.
const QStringList EdgeRecords = {
    u"401|W|Smith\\Jones; Partners, Ltd|O'Brien|Seán|Dr.||Flat 2|Town||||||||"_s,
    u"402|P||Ng|Li||1 Road|||||AB1 2CD|+44 1|07700|+44 2|li@example.com|19000101"_s,
    u"403|W|Caf\u00e9 \u20ac\u0153 Tr\u00e8s Long Company Name For Folding Across Lines Here||"
    "||  spaced  |a\\b|c,d|e;f|g:h|AB1 2CD|tel|mob|fax|x@y.z|21991231"_s,
};

} // namespace

class TestVCard : public QObject {
    Q_OBJECT
private slots:
    void importGolden_data();
    void importGolden();
    void importRules_data();
    void importRules();
    void hostile_data();
    void hostile();
    void folding_data();
    void folding();
    void exportGolden();
    void exportRules_data();
    void exportRules();
    void roundTrip_data();
    void roundTrip();
    void oracle();
};

void TestVCard::importGolden_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("notes");
    using namespace ContactText;
    const QString replaced = ExchangeText::CharactersReplaced + u"=1"_s;
    const QString cut = ExchangeText::ValuesCut + u"=1"_s;
    QTest::newRow("phone, 2.1") << u"phone_21"_s
                                << TelephonesNotTaken + u"=1; "_s + DetailsWithoutField +
                                       u"=2; "_s + replaced + u"; "_s + PostcodesCapitalised +
                                       u"=1"_s;
    QTest::newRow("web mail, 3.0")
        << u"webmail_30"_s
        << AddressesNotTaken + u"=1; "_s + TelephonesNotTaken + u"=1; "_s + EmailsNotTaken +
               u"=1; "_s + DetailsWithoutField + u"=1; "_s + cut + u"; "_s + PostcodesCapitalised +
               u"=1; "_s + replaced;
    QTest::newRow("desktop, 4.0") << u"desktop_40"_s
                                  << AddressesNotTaken + u"=1; "_s + TelephonesNotTaken +
                                         u"=2; "_s + DetailsWithoutField + u"=3; "_s +
                                         BirthdaysNotTaken + u"=2; "_s + cut;
    QTest::newRow("server, several cards")
        << u"server_30"_s
        << DetailsWithoutField + u"=2; "_s + BirthdaysNotTaken + u"=2; "_s + NoNameOrCompany +
               u"=1; "_s + replaced;
}

void TestVCard::importGolden() {
    QFETCH(QString, name);
    QFETCH(QString, notes);
    const ContactsRead read = ReadContacts(TestData(u"exchange/vcf/"_s + name + u".vcf"_s));
    QCOMPARE(read.error, QString());
    QCOMPARE(AddressBytes(read.contacts), TestData(u"exchange/vcf/"_s + name + u".qmt"_s));
    QCOMPARE(NotesText(read.notes), notes);
}

void TestVCard::importRules_data() {
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("body");
    // Fields 2 to 17 that are not empty, as "n=value|..."; "-" for no contact.
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("notes");
    const QString cut = ExchangeText::ValuesCut + u"=1"_s;
    QTest::newRow("category beats the address's type")
        << "3.0"_ba
        << "N:Doe;Jane\r\nADR;TYPE=HOME:;;1 St;;;;\r\nCATEGORIES:Friends,Work"_ba
        << u"2=W|4=Doe|5=Jane|7=1 St"_s << u""_s;
    QTest::newRow("address's type before the telephone's")
        << "3.0"_ba
        << "N:Doe;Jane\r\nTEL;TYPE=HOME:1\r\nADR;TYPE=WORK:;;1 St;;;;"_ba
        << u"2=W|4=Doe|5=Jane|7=1 St|13=1"_s << u""_s;
    QTest::newRow("telephone's type before the e-mail's")
        << "3.0"_ba
        << "N:Doe\r\nEMAIL;TYPE=WORK:a@b\r\nADR:;;1 St;;;;\r\nTEL;TYPE=HOME:1"_ba
        << u"2=P|4=Doe|7=1 St|13=1|16=a@b"_s << u""_s;
    QTest::newRow("a company without a last name is business")
        << "3.0"_ba
        << "FN:Acme\r\nORG:Acme"_ba << u"2=W|3=Acme"_s << u""_s;
    QTest::newRow("a company with a last name is personal")
        << "3.0"_ba
        << "N:Doe;;;;\r\nORG:Acme"_ba << u"2=P|3=Acme|4=Doe"_s << u""_s;
    QTest::newRow("name parts") << "3.0"_ba
                                << "N:Doe;Jane;Ann,Mary;Dr;PhD"_ba
                                << u"2=P|4=Doe PhD|5=Jane Ann,Mary|6=Dr"_s << u""_s;
    QTest::newRow("the formatted name when nothing else names")
        << "3.0"_ba
        << "N:;Cher;;;\r\nFN:Cher"_ba << u"2=P|4=Cher|5=Cher"_s << u""_s;
    QTest::newRow("no name, no company")
        << "3.0"_ba
        << "FN: \r\nTEL:1\r\nNOTE:x"_ba << u"-"_s << ContactText::NoNameOrCompany + u"=1"_s;
    QTest::newRow("a name that is blank once cut to its width")
        << "3.0"_ba
        << "N:"_ba + QByteArray(25, '\x01') + "Doe"_ba << u"-"_s
        << ContactText::NoNameOrCompany + u"=1"_s;
    QTest::newRow("organisation units")
        << "3.0"_ba
        << "ORG:Acme;Sales;;North"_ba << u"2=W|3=Acme, Sales, North"_s << u""_s;
    QTest::newRow("post box, extended, street lines and capitals")
        << "3.0"_ba
        << "N:Doe\r\nADR:PO Box 1;Flat 2;10 Road\\nBack\\n\\nYard;Town;Shire;ab1 2cd;UK"_ba
        << u"2=P|4=Doe|7=PO Box 1|8=Flat 2, 10 Road, Back, Yard|9=Town|10=Shire|11=UK|12=AB1 2CD"_s
        << ContactText::PostcodesCapitalised + u"=1"_s;
    QTest::newRow("preferred ones, the first of equals")
        << "4.0"_ba
        << "N:Doe\r\nADR:;;A;;;;\r\nADR;PREF=1:;;B;;;;\r\nTEL;PREF=2:1\r\nTEL;PREF=1:2\r\n"
           "TEL:3\r\nTEL;TYPE=cell:4\r\nTEL;TYPE=cell:5\r\nTEL;TYPE=fax:6\r\n"
           "EMAIL:a@b\r\nEMAIL:c@d\r\nTEL:"_ba
        << u"2=P|4=Doe|7=B|13=2|14=4|15=6|16=a@b"_s
        << ContactText::AddressesNotTaken + u"=1; "_s + ContactText::TelephonesNotTaken +
               u"=3; "_s + ContactText::EmailsNotTaken + u"=1"_s;
    QTest::newRow("2.1 preference is a bare type")
        << "2.1"_ba
        << "N:Doe\r\nTEL;HOME:1\r\nTEL;WORK;PREF:2"_ba << u"2=W|4=Doe|13=2"_s
        << ContactText::TelephonesNotTaken + u"=1"_s;
    QTest::newRow("telephone as a URI")
        << "4.0"_ba
        << "N:Doe\r\nTEL;VALUE=uri:tel:+44-1"_ba << u"2=P|4=Doe|13=+44-1"_s << u""_s;
    QTest::newRow("birthday with a time")
        << "3.0"_ba
        << "N:Doe\r\nBDAY:1961-03-07T10:00:00Z"_ba << u"2=P|4=Doe|17=19610307"_s << u""_s;
    QTest::newRow("birthday, first year")
        << "3.0"_ba
        << "N:Doe\r\nBDAY:18990101"_ba << u"2=P|4=Doe|17=18990101"_s << u""_s;
    for (const char *bday :
         {"--0307", "2200-01-01", "1898-12-31", "1900-02-29", "soon", "1961-3-7"})
        QTest::addRow("birthday not taken: %s", bday)
            << "3.0"_ba
            << "N:Doe\r\nBDAY:"_ba + bday << u"2=P|4=Doe"_s
            << ContactText::BirthdaysNotTaken + u"=1"_s;
    QTest::newRow("details without a field")
        << "3.0"_ba
        << "N:Doe\r\nNOTE:x\r\nURL:http://x\r\nX-FOO:1\r\nPHOTO;ENCODING=b:AAAA\r\nNOTE:\r\n"
           "LABEL:1 St\r\nADR:;;1 St;;;;\r\nREV:1\r\nUID:1\r\nPRODID:x\r\nKIND:individual"_ba
        << u"2=P|4=Doe|7=1 St"_s << ContactText::DetailsWithoutField + u"=4"_s;
    QTest::newRow("a label when no address is a detail")
        << "3.0"_ba
        << "N:Doe\r\nLABEL:1 St"_ba << u"2=P|4=Doe"_s << ContactText::DetailsWithoutField + u"=1"_s;
    QTest::newRow("values fitted to their fields")
        << "3.0"_ba
        << "N:Abcdefghijklmnopqrstuvwxyz;Ann\\nMarie \xe2\x98\x95"_ba
        << u"2=P|4=Abcdefghijklmnopqrstuvwxy|5=Ann Marie ?"_s
        << cut + u"; "_s + ExchangeText::LineBreaksReplaced + u"=1; "_s +
               ExchangeText::CharactersReplaced + u"=1"_s;
    QTest::newRow("3.0 escapes") << "3.0"_ba
                                 << "N:O\\,Neil\\\\x\\;y;A\\:b\\qc"_ba
                                 << u"2=P|4=O,Neil\\x;y|5=A:b\\qc"_s << u""_s;
    QTest::newRow("2.1 escapes only the semicolon")
        << "2.1"_ba
        << "N:C:\\new\\;dir;x\\,y"_ba << u"2=P|4=C:\\new;dir|5=x\\,y"_s << u""_s;
    QTest::newRow("Windows-1252 bytes without a character set")
        << "3.0"_ba
        << "N:Ren\xe9\x80"_ba << u"2=P|4=Ren\u00e9\u20ac"_s << u""_s;
    QTest::newRow("a character set Qt knows")
        << "2.1"_ba
        << "N;CHARSET=ISO-8859-7:\xc1\xe8\xde\xed\xe1"_ba << u"2=P|4=?????"_s
        << ExchangeText::CharactersReplaced + u"=1"_s;
    QTest::newRow("lower-case names and a group")
        << "3.0"_ba
        << "item1.n:Doe\r\nitem2.tel;type=work,voice:1"_ba << u"2=W|4=Doe|13=1"_s << u""_s;
}

void TestVCard::importRules() {
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, body);
    QFETCH(QString, fields);
    QFETCH(QString, notes);
    const ContactsRead read = ReadContacts(Card(version, body));
    QCOMPARE(read.error, QString());
    QCOMPARE(NotesText(read.notes), notes);
    if (fields == u"-") {
        QCOMPARE(read.contacts.size(), 0);
        return;
    }
    QCOMPARE(read.contacts.size(), 1);
    QStringList actual;
    for (int n = 2; n <= AddressFieldCount; ++n)
        if (!AddressField(read.contacts[0], n).isEmpty())
            actual.append(QString::number(n) + u'=' + AddressField(read.contacts[0], n));
    QCOMPARE(actual.join(u'|'), fields);
}

void TestVCard::hostile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("contacts");
    // The last names of the first three contacts.
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("note");

    QByteArray garbage(1 << 16, '\0');
    quint32 seed = 12345;
    for (char &c : garbage)
        c = char((seed = seed * 1103515245u + 12345u) >> 16);
    QTest::newRow("binary garbage") << garbage << ContactText::NoContacts << 0 << u""_s << u""_s;
    QTest::newRow("empty") << QByteArray() << ContactText::NoContacts << 0 << u""_s << u""_s;
    QTest::newRow("truncated card") << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane\r\nTEL:1"_ba
                                    << QString() << 1 << u"Doe"_s << ContactText::CardsCutShort;
    QTest::newRow("a card cut short before the next")
        << "BEGIN:VCARD\r\nN:Doe\r\nBEGIN:VCARD\r\nN:Roe\r\nEND:VCARD\r\n"_ba << QString() << 2
        << u"Doe|Roe"_s << ContactText::CardsCutShort;
    QTest::newRow("an agent's card inside")
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe\r\nAGENT:\r\nBEGIN:VCARD\r\nN:Agent\r\n"
           "END:VCARD\r\nTEL:1\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Roe\r\nEND:VCARD\r\n"_ba
        << QString() << 2 << u"Doe|Roe"_s << ContactText::DetailsWithoutField;
    QTest::newRow("an agent's card without its end")
        << "BEGIN:VCARD\r\nN:Doe\r\nAGENT:\r\nBEGIN:VCARD\r\nN:Agent\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nN:Roe\r\nEND:VCARD\r\n"_ba
        << QString() << 2 << u"Doe|Roe"_s << ContactText::CardsCutShort;
    QTest::newRow("20 MB line") << "BEGIN:VCARD\r\nN:Doe\r\nNOTE:"_ba + QByteArray(20 << 20, 'x') +
                                       "\r\nEND:VCARD"_ba
                                << QString() << 1 << u"Doe"_s << ContactText::DetailsWithoutField;
    QTest::newRow("20 MB line without a card")
        << QByteArray(20 << 20, ';') << ContactText::NoContacts << 0 << u""_s << u""_s;
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name" + QByteArray::number(i) +
                ";First\r\nTEL:0113 496 0000\r\nEND:VCARD\r\n";
    QTest::newRow("100,000 cards")
        << many << QString() << 100000 << u"Name0|Name1|Name2"_s << u""_s;
    QTest::newRow("bad quoted-printable")
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:D=ZZo=C3=A9=4\r\nEND:VCARD"_ba
        << QString() << 1 << u"D=ZZo\u00e9=4"_s << ContactText::BrokenQuotedPrintable;
    QTest::newRow("soft line break before the end")
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe\r\nNOTE;QUOTED-PRINTABLE:a=\r\nEND:VCARD\r\n"_ba
        << QString() << 1 << u"Doe"_s << ContactText::CardsCutShort;
    QTest::newRow("unknown character set")
        << "BEGIN:VCARD\r\nN;CHARSET=X-NOTHING:D\xc3\xb6\r\nEND:VCARD"_ba << QString() << 1
        << u"D\u00f6"_s << ContactText::UnknownCharsets;
    QTest::newRow("lines that are not properties")
        << "BEGIN:VCARD\r\nN:Doe\r\nno colon here\r\nX;Y=\"open:1\r\nEND:VCARD"_ba << QString() << 1
        << u"Doe"_s << ContactText::LinesNotRead;
}

void TestVCard::hostile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(int, contacts);
    QFETCH(QString, names);
    QFETCH(QString, note);
    QElapsedTimer timer;
    timer.start();
    const ContactsRead read = ReadContacts(bytes);
    QCOMPARE(read.error, error);
    QCOMPARE(read.contacts.size(), contacts);
    QStringList last;
    for (const AddressRecord &record : read.contacts.mid(0, 3))
        last.append(AddressField(record, 4));
    QCOMPARE(last.join(u'|'), names);
    if (!note.isEmpty())
        QVERIFY2(read.notes.count(note) > 0, qPrintable(NotesText(read.notes)));
    // Linear: even the largest inputs take a moment, not minutes.
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

void TestVCard::folding_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QString(200, u'a');
    // Every alignment of two-, three- and four-byte characters against the fold.
    for (int lead = 0; lead < 4; ++lead) {
        QTest::addRow("two bytes, %d before", lead) << QString(lead, u'a') + QString(90, u'\u00e9');
        QTest::addRow("three bytes, %d before", lead)
            << QString(lead, u'a') + QString(60, u'\u20ac');
        QTest::addRow("four bytes, %d before", lead)
            << QString(lead, u'a') + QString(40, u'x').replace(u'x', u"\U0001F600"_s);
    }
}

void TestVCard::folding() {
    QFETCH(QString, text);
    VCardWriter writer;
    writer.beginCard();
    writer.property("NOTE", EscapeVCardText(text));
    writer.endCard();
    const QList<QByteArray> lines = writer.bytes().split('\n');
    for (const QByteArray &line : lines) {
        QVERIFY(line.isEmpty() || line.endsWith('\r'));
        QVERIFY2(line.size() <= 76, line.constData());
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(line);
        QVERIFY2(!utf8.hasError() && !decoded.isNull(), "a character cut at a fold");
    }
    const VCardFile file = ReadVCards(writer.bytes());
    QCOMPARE(file.cards.size(), 1);
    QCOMPARE(file.cards[0].properties.last().value, text);
}

void TestVCard::exportGolden() {
    const ExportResult result = ExportContacts(DataSet());
    QCOMPARE(result.contacts, 2);
    QVERIFY(result.notes.isEmpty());
    QCOMPARE(result.bytes, TestData(u"exchange/vcf/e2e_edited.vcf"_s));
}

void TestVCard::exportRules_data() {
    QTest::addColumn<QString>("record");
    // The card's lines after its UID, unfolded, without the end.
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("notes");
    QTest::newRow("second address line alone, no name")
        << u"9|W|Acme||||| Unit 2|||||||||"_s
        << u"N:;;;;|FN:Acme|ORG:Acme|ADR;TYPE=WORK:;;\\n Unit 2;;;;|CATEGORIES:Business"_s << u""_s;
    QTest::newRow("blank name parts left out of the full name")
        << u"9|P||Doe| |Ms||||||ab1||||a@b|19610230"_s
        << u"N:Doe; ;;Ms;|FN:Ms Doe|ADR;TYPE=HOME:;;;;;ab1;|EMAIL;TYPE=INTERNET,HOME:a@b|"
           "CATEGORIES:Personal"_s
        << ContactText::InvalidBirthdays + u"=1"_s;
    QTest::newRow("any other type is business")
        << u"9|x||Doe|||||||||1|2|3||20000229"_s
        << u"N:Doe;;;;|FN:Doe|TEL;TYPE=WORK,VOICE:1|TEL;TYPE=CELL:2|TEL;TYPE=WORK,FAX:3|"
           "BDAY:2000-02-29|CATEGORIES:Business"_s
        << u""_s;
    QTest::newRow("blank key left out") << u" |P||Doe|||||||||||||"_s << u""_s << u""_s;
}

void TestVCard::exportRules() {
    QFETCH(QString, record);
    QFETCH(QString, lines);
    QFETCH(QString, notes);
    const ExportResult result = ExportContacts({Record(record)});
    QCOMPARE(NotesText(result.notes), notes);
    QCOMPARE(result.contacts, lines.isEmpty() ? 0 : 1);
    QStringList actual =
        QString::fromUtf8(result.bytes).replace(u"\r\n "_s, u""_s).split(u"\r\n"_s);
    actual = actual.mid(3, qMax(0, actual.size() - 5));
    QCOMPARE(actual.join(u'|'), lines);
}

void TestVCard::roundTrip_data() {
    QTest::addColumn<QList<AddressRecord>>("records");
    QTest::newRow("address book") << DataSet();
    QList<AddressRecord> edge;
    for (const QString &fields : EdgeRecords)
        edge.append(Record(fields));
    QTest::newRow("escapes, folds, odd lines") << edge;
}

void TestVCard::roundTrip() {
    QFETCH(QList<AddressRecord>, records);
    const ContactsRead read = ReadContacts(ExportContacts(records).bytes);
    QCOMPARE(read.contacts.size(), records.size());
    QVERIFY2(read.notes.isEmpty(), qPrintable(NotesText(read.notes)));
    for (qsizetype i = 0; i < records.size(); ++i)
        for (int n = 2; n <= AddressFieldCount; ++n)
            QCOMPARE(AddressField(read.contacts[i], n), AddressField(records[i], n));
    // The identity of a contact survives a change of its details, not of its name.
    AddressRecord changed = records[0];
    AddressField(changed, 13) += u"9"_s;
    AddressField(changed, 7) = u"Elsewhere"_s;
    const QByteArray uid = ExportContacts({records[0]}).bytes.split('\n').value(2);
    QVERIFY(uid.startsWith("UID:" + AddressField(records[0], 1).toLatin1() + '-'));
    QCOMPARE(ExportContacts({changed}).bytes.split('\n').value(2), uid);
    AddressField(changed, 5) += u"x"_s;
    QVERIFY(ExportContacts({changed}).bytes.split('\n').value(2) != uid);
}

void TestVCard::oracle() {
    QList<AddressRecord> records = DataSet();
    for (const QString &fields : EdgeRecords)
        records.append(Record(fields));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"contacts.vcf"_s);
    test::WriteBytes(path, ExportContacts(records).bytes);
    const QString python = u"/usr/bin/python3"_s;
    if (!QFileInfo(python).isExecutable())
        QSKIP("/usr/bin/python3 is missing: the independent vCard reader cannot run");
    QProcess process;
    process.start(python, {QStringLiteral(QM_TEST_DATA_DIR "/../exchange/oracle_vcf.py"), path});
    QVERIFY(process.waitForFinished(60000));
    if (process.exitCode() == 3)
        QSKIP("the Python module vobject is missing (python3-vobject)");
    QCOMPARE(process.exitCode(), 0);

    // What the records should read as, built here from the fields themselves.
    auto esc = [](QString text) {
        return text.replace(u"\\"_s, u"\\\\"_s).replace(u"\n"_s, u"\\n"_s);
    };
    QStringList expected;
    for (const AddressRecord &r : records) {
        auto f = [&](int n) { return AddressField(r, n); };
        const bool personal = f(2) == u"P";
        const QString kind = personal ? u"HOME"_s : u"WORK"_s;
        // The oracle lists types in alphabetical order.
        const QString voice = personal ? u"HOME,VOICE"_s : u"VOICE,WORK"_s;
        const QString mail = personal ? u"HOME,INTERNET"_s : u"INTERNET,WORK"_s;
        const QByteArray hash = QCryptographicHash::hash(
            (f(3) + QChar(0x1F) + f(4) + QChar(0x1F) + f(5)).toUtf8(), QCryptographicHash::Sha1);
        expected << u"UID:"_s + f(1) + u'-' + QString::fromLatin1(hash.toHex().left(12)) +
                        u"@quillmate"_s;
        expected << u"N:"_s + esc(f(4)) + u'|' + esc(f(5)) + u"||"_s + esc(f(6)) + u'|';
        QStringList names;
        for (int n : {6, 5, 4})
            if (!f(n).trimmed().isEmpty())
                names << f(n);
        expected << u"FN:"_s + esc(names.isEmpty() ? f(3) : names.join(u' '));
        if (!f(3).isEmpty())
            expected << u"ORG:"_s + esc(f(3));
        if (!(f(7) + f(8) + f(9) + f(10) + f(11) + f(12)).isEmpty())
            expected << u"ADR:"_s + kind + u":||"_s +
                            esc(f(8).isEmpty() ? f(7) : f(7) + u'\n' + f(8)) + u'|' + esc(f(9)) +
                            u'|' + esc(f(10)) + u'|' + esc(f(12)) + u'|' + esc(f(11));
        if (!f(13).isEmpty())
            expected << u"TEL:"_s + voice + u':' + esc(f(13));
        if (!f(14).isEmpty())
            expected << u"TEL:CELL:"_s + esc(f(14));
        if (!f(15).isEmpty())
            expected << u"TEL:FAX,"_s + kind + u':' + esc(f(15));
        if (!f(16).isEmpty())
            expected << u"EMAIL:"_s + mail + u':' + esc(f(16));
        if (!f(17).isEmpty())
            expected << u"BDAY:"_s + f(17).left(4) + u'-' + f(17).mid(4, 2) + u'-' + f(17).mid(6);
        expected << u"CATEGORIES:"_s + (personal ? u"Personal"_s : u"Business"_s) << u"--"_s;
    }
    const QStringList actual =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
