#pragma once

#include "platform/StartWithSystem.h"

#include <QString>

#include <memory>

namespace qm {

// The value of a desktop entry's Exec key that runs program: quoted when the
// path holds a character the desktop would otherwise split or expand, "%"
// written as "%%", and backslashes and control characters escaped as the
// entry's string values need.
QString DesktopEntryExec(const QString &program);
// The whole autostart entry for program.
QByteArray AutostartEntryText(const QString &program);
// Whether an entry's text starts a program: its Exec key is not blank and it
// is not hidden (a desktop turns an autostart entry off with "Hidden=true").
bool AutostartEntryIsOn(const QByteArray &text);

// Starting with the system through an autostart entry, "quillmate.desktop" in
// the user's autostart folder, as desktops following the XDG rules read it.
class AutostartEntry final : public StartWithSystem {
public:
    AutostartEntry(QString folder, QString program);
    // $XDG_CONFIG_HOME/autostart, by default ~/.config/autostart.
    static QString userFolder();

    QString path() const;
    bool isOn() const override;
    // A new entry is readable by its owner only. A program whose path is not
    // UTF-8 text (the entry's encoding) cannot be named by an entry: turning
    // it on raises FileError and leaves what is stored as it was.
    void setOn(bool on) override;

private:
    QString m_folder;
    QString m_program;
};

// The system's own place for the running program: the per-user run list on
// Windows, the autostart entry elsewhere.
std::unique_ptr<StartWithSystem> MakeStartWithSystem();

} // namespace qm
