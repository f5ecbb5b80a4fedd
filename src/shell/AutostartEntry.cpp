#include "shell/AutostartEntry.h"

#include "foundation/Errors.h"
#include "foundation/Program.h"
#include "foundation/RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Characters that make the desktop split or expand an unquoted argument.
const QString ReservedInExec = u" \t\n\"'\\><~|&;$*?#()`"_s;
// Characters that must carry a backslash inside a quoted argument.
const QString EscapedInQuotes = u"\"`$\\"_s;

const QString EntryGroup = u"[Desktop Entry]"_s;

} // namespace

QString DesktopEntryExec(const QString &program) {
    QString argument;
    const bool quote = std::any_of(program.begin(), program.end(),
                                   [](QChar c) { return ReservedInExec.contains(c); });
    if (quote) {
        argument = u"\""_s;
        for (const QChar c : program) {
            if (EscapedInQuotes.contains(c))
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    } else {
        argument = program;
    }
    argument.replace(u"%"_s, u"%%"_s);

    // The key's value is a string: its own escapes come on top of the quoting.
    QString value;
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '\\':
            value += u"\\\\"_s;
            break;
        case '\n':
            value += u"\\n"_s;
            break;
        case '\t':
            value += u"\\t"_s;
            break;
        case '\r':
            value += u"\\r"_s;
            break;
        default:
            value += c;
        }
    }
    return value;
}

QByteArray AutostartEntryText(const QString &program) {
    const QString text = EntryGroup + u"\nType=Application\nName="_s + ProgramTitle() +
                         u"\nComment=Diary, notes, alarms and address book\nExec="_s +
                         DesktopEntryExec(program) +
                         u"\nIcon=quillmate\nTerminal=false\nX-GNOME-Autostart-enabled=true\n"_s;
    return text.toUtf8();
}

bool AutostartEntryIsOn(const QByteArray &text) {
    bool inEntry = false;
    bool exec = false;
    bool hidden = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == EntryGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"Exec"_s)
            exec = !value.isEmpty();
        else if (key == u"Hidden"_s)
            hidden = value == u"true"_s;
    }
    return exec && !hidden;
}

AutostartEntry::AutostartEntry(QString folder, QString program)
    : m_folder(std::move(folder)), m_program(std::move(program)) {}

QString AutostartEntry::userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/autostart"_s;
}

QString AutostartEntry::path() const {
    return m_folder + u"/quillmate.desktop"_s;
}

bool AutostartEntry::isOn() const {
    // An entry the user cannot read is one the desktop cannot read either.
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return AutostartEntryIsOn(file.readAll());
}

namespace {
// Whether the entry, which is UTF-8 text, can name the program's file. A name
// whose bytes are not UTF-8 reaches the program with replacement characters
// (or, under another locale, would be written in bytes the desktop reads
// otherwise): the entry would name a file that is not there.
bool NameableInEntry(const QString &program) {
    if (program.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(program))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asRead = utf8(QFile::encodeName(program));
    return !utf8.hasError() && asRead == program;
}
} // namespace

void AutostartEntry::setOn(bool on) {
    if (!on) {
        RemoveFileIfExists(path());
        return;
    }
    if (!NameableInEntry(m_program))
        throw FileError(u"Cannot Start With The System: The Path Of The Program Is Not UTF-8 "
                        u"Text, So The Desktop Could Not Find It"_s,
                        m_program);
    if (!QDir().mkpath(m_folder))
        throw FileError(u"Cannot Create The Folder"_s, m_folder);
    ReplaceFileAtomically(path(), AutostartEntryText(m_program));
}

#ifdef Q_OS_WIN
namespace {

// The per-user run list of the registry, value "Quillmate".
class RunListEntry final : public StartWithSystem {
public:
    explicit RunListEntry(QString program) : m_program(std::move(program)) {}

    bool isOn() const override {
        return !runList().value(ProgramTitle()).toString().trimmed().isEmpty();
    }

    void setOn(bool on) override {
        QSettings list = runList();
        if (on)
            list.setValue(ProgramTitle(), u"\""_s + QDir::toNativeSeparators(m_program) + u"\""_s);
        else
            list.remove(ProgramTitle());
        list.sync();
        if (list.status() != QSettings::NoError)
            throw FileError(u"Cannot Change The List Of Programs Started With Windows"_s,
                            list.fileName());
    }

private:
    static QSettings runList() {
        return QSettings(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s,
                         QSettings::NativeFormat);
    }

    QString m_program;
};

} // namespace
#endif

std::unique_ptr<StartWithSystem> MakeStartWithSystem() {
    // The real file, so an entry made through a link still starts the program
    // when the link is moved.
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
#ifdef Q_OS_WIN
    return std::make_unique<RunListEntry>(program);
#else
    return std::make_unique<AutostartEntry>(AutostartEntry::userFolder(), program);
#endif
}

} // namespace qm
