#pragma once

namespace qm {

// Whether the program starts when the user logs on: an entry in the user's
// own list of programs the desktop starts (the per-user run list on Windows,
// an autostart entry elsewhere). Per user, so an ordinary account can change
// it without administrator rights.
class StartWithSystem {
public:
    virtual ~StartWithSystem() = default;
    // The entry is there and names a program.
    virtual bool isOn() const = 0;
    // Adds or removes the entry for the running program. Raises the
    // program's FileError when the entry cannot be written or removed; what
    // is stored then stays as it was.
    virtual void setOn(bool on) = 0;
};

} // namespace qm
