#pragma once

namespace qm {

// What an editor form is opened for: a new record, or the one the page has
// selected.
enum class EditMode { Add, Edit };

} // namespace qm
