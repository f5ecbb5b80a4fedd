#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

namespace qm {

class GradientPanel;

// One page of the main window. The main window owns navigation and the page
// protocol; a page only says how it is prepared, whether it may be left and
// what leaving it saves, so the protocol stays one table-driven routine.
//
// Every page exists from the start, but makes its controls only when it is
// first needed (build()), so start-up pays only for the page it shows. What
// the main window asks of a page before then works without its controls.
class Page : public QWidget {
    Q_OBJECT
public:
    // Page area size inside the main window.
    static constexpr int Width = 488;
    static constexpr int Height = 400;

    explicit Page(const QString &objectName, QWidget *parent = nullptr);

    // Makes the page's controls if they are not made yet; true when this
    // call made them (they are then still to be styled).
    bool ensureBuilt();
    bool isBuilt() const { return m_built; }

    // Prepares the page each time it is shown.
    virtual void showStep() {}
    // Reasons (each ending in "\r") why the page may not be left; empty when it may.
    virtual QString leaveReasons() { return {}; }
    // Stores what leaving the page keeps.
    virtual void leaveSave() {}
    // The control that gets the focus after the page is shown; nullptr leaves
    // the focus where it is.
    virtual QWidget *focusTarget() { return nullptr; }
    // Edits on the page that closing the program would lose.
    virtual bool hasUnsavedChanges() const { return false; }
    // A character typed anywhere in the window while this page is active.
    virtual void keyTyped(const QString &character) { Q_UNUSED(character); }

    QPushButton *closeButton() const { return m_closeButton; }
    GradientPanel *background() const { return m_background; }

signals:
    // The page's "&Close" button: close the program.
    void closeRequested();

protected:
    // Makes the page's controls on background(); called once, by ensureBuilt().
    virtual void build() {}
    // Every page has its "&Close" button in the bottom right corner.
    QPushButton *addCloseButton(const QString &objectName);

private:
    bool m_built = false;
    GradientPanel *m_background = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace qm
