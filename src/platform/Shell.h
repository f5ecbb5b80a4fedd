#pragma once

#include <QString>

namespace qm {

// The desktop's own handlers: a "mailto:" address opens the user's mail
// program, a web address the browser.
class Shell {
public:
    virtual ~Shell() = default;
    // Asks the desktop to open address; false when it refused or found no
    // program for it.
    virtual bool openAddress(const QString &address) = 0;
};

} // namespace qm
