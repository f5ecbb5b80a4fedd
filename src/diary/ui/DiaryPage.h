#pragma once

#include "foundation/ui/Page.h"

#include <QStringList>

namespace qm {

// The Diary & Tasks page: appointments, tasks and occasions in one list with
// its view buttons.
class DiaryPage : public Page {
    Q_OBJECT
public:
    explicit DiaryPage(QWidget *parent = nullptr);

    // The names of the view buttons, as the "Diary Page" setting stores them.
    static const QStringList &ViewNames();

    // The name of the pressed view button ("Daily" until another is pressed).
    QString pressedViewName() const { return m_viewName; }
    // Presses the view button of that name; an unknown name changes nothing.
    void pressViewButton(const QString &name);
    // The "Show Completed" tick of the task view.
    bool showCompleted() const { return m_showCompleted; }
    void setShowCompleted(bool on) { m_showCompleted = on; }
    // Rebuilds the rows of the list from the stores.
    void RefreshDiaryView() {}
    // Row height of the appointment list, by the screen's resolution.
    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int pixels) { m_rowHeight = pixels; }

    void leaveSave() override;

private:
    QString m_viewName;
    bool m_showCompleted = false;
    int m_rowHeight = 16;
};

} // namespace qm
