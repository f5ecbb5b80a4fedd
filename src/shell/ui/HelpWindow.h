#pragma once

#include "foundation/ui/HelpTopics.h"

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace qm {

// The program's help: one page a topic, built into the program, with back
// and forward through the pages read and a contents page.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the page of topic and brings the window forward.
    void showTopic(HelpTopic topic);
    // The address of the page shown.
    QUrl page() const;

    void cmdHelpContentsClick();

private:
    QTextBrowser *m_browser = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_forward = nullptr;
    bool m_placed = false;
};

} // namespace qm
