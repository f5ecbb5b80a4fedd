#include "foundation/ui/FormSnapshot.h"

#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <optional>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

using Snapshot = QHash<const QWidget *, QString>;

// One snapshot per live form; an entry goes when its form is destroyed, so a
// new form at the same address never sees a stale one.
QHash<const QWidget *, Snapshot> &snapshots() {
    static QHash<const QWidget *, Snapshot> table;
    return table;
}

// The recorded value of a control, or nullopt for kinds that are not recorded.
std::optional<QString> recordedValue(const QWidget *control) {
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(control))
        return spin->text();
    if (auto *memo = qobject_cast<const QTextEdit *>(control))
        return memo->toPlainText();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (auto *radio = qobject_cast<const QRadioButton *>(control))
        return radio->isChecked() ? u"Y"_s : u"N"_s;
    return std::nullopt;
}

// What an unrecorded control is compared with: the empty field, the radio
// button that is off.
QString blankValue(const QWidget *control) {
    return qobject_cast<const QRadioButton *>(control) ? u"N"_s : QString();
}

} // namespace

void SnapshotForm(QWidget *form) {
    auto &table = snapshots();
    if (!table.contains(form))
        QObject::connect(form, &QObject::destroyed, [form] { snapshots().remove(form); });
    Snapshot snapshot;
    for (const QWidget *control : FormControls(form)) {
        if (const auto value = recordedValue(control))
            snapshot.insert(control, *value);
    }
    table.insert(form, snapshot);
}

bool FormChanged(QWidget *form) {
    const Snapshot snapshot = snapshots().value(form);
    for (const QWidget *control : FormControls(form)) {
        const auto value = recordedValue(control);
        if (!value)
            continue;
        const auto stored = snapshot.constFind(control);
        const QString before = stored != snapshot.cend() ? *stored : blankValue(control);
        if (*value != before)
            return true;
    }
    return false;
}

bool ConfirmDiscard(QWidget *form) {
    return !FormChanged(form) || ConfirmLoseChanges();
}

} // namespace qm
