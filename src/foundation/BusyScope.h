#pragma once

#include <functional>

namespace qm {

// Shows the busy cursor while a file operation runs and restores it when the
// scope ends, whether the operation finished or raised. Logic knows nothing
// of cursors: the user interface installs the two handlers once (set and
// restore the override cursor). Nested scopes show the cursor once: the
// handlers run when the outermost scope begins and ends. Handlers must not
// raise.
class BusyScope {
public:
    using Handler = std::function<void()>;

    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    // Installs the handlers (empty handlers: nothing is shown).
    static void setHandlers(Handler begin, Handler end);
    // How many scopes are open now.
    static int depth();
};

} // namespace qm
