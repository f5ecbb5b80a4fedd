#include "foundation/ui/EditorForm.h"

#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/Styling.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {
constexpr int Margin = 10;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 27;
} // namespace

EditorForm::EditorForm(const QString &objectName, const QString &caption, QSize size,
                       QWidget *parent)
    : QDialog(parent, FixedDialogFlags) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(size);
    m_outer = new GradientPanel(this, 1);
    m_outer->setObjectName(u"panOuter"_s);
    m_outer->setGeometry(0, 0, size.width(), size.height());
}

void EditorForm::addSaveAndCancel(const QString &saveHint, const QString &cancelHint) {
    const int top = height() - 40;
    cmdUpdate = MakeButton(m_outer, u"cmdUpdate"_s, u"&Save"_s, saveHint, 12);
    cmdUpdate->setDefault(true);
    cmdUpdate->setGeometry(width() - Margin - 2 * ButtonWidth - 6, top, ButtonWidth, ButtonHeight);
    cmdCancel = MakeButton(m_outer, u"cmdCancel"_s, u"&Cancel"_s, cancelHint, 13);
    cmdCancel->setGeometry(width() - Margin - ButtonWidth, top, ButtonWidth, ButtonHeight);
    connect(cmdUpdate, &QPushButton::clicked, this, Reported([this] { cmdUpdateClick(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Reported([this] { cmdCancelClick(); }));
}

void EditorForm::cmdCancelClick() {
    if (!ConfirmDiscard(this))
        return;
    m_recordSaved = false;
    QDialog::reject();
}

void EditorForm::closeSaved() {
    m_recordSaved = true;
    accept();
}

void EditorForm::reject() {
    RunReported([this] { cmdCancelClick(); });
}

void EditorForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    CentreForm(this);
    StyleForm(this);
}

} // namespace qm
