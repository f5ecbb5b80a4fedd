#include "notes/ui/NotesPage.h"

using namespace Qt::StringLiterals;

namespace qm {

NotesPage::NotesPage(QWidget *parent) : Page(u"tabNotes"_s, parent) {}

void NotesPage::build() {
    addCloseButton(u"cmdNotesClose"_s);
}

} // namespace qm
