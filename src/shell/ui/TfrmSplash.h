#pragma once

#include <QWidget>

class QLabel;

namespace qm {

// The screen shown while the program starts: its pictures, who made it and
// its version. It has no border and takes no input.
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    // The version label; start-up sets it.
    QLabel *lblVersion() const { return m_version; }

private:
    QLabel *m_version = nullptr;
};

} // namespace qm
