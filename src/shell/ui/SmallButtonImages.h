#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>

namespace qm {

// The main window's image list of small button pictures, `imgSmallButtons`.
// A button with a picture carries the index of its picture here, and
// StyleForm gives it that picture while the list exists. Each picture is drawn
// the first time it is asked for, at the size buttons show it.
class SmallButtonImages final : public QObject {
    Q_OBJECT
public:
    // The indexes with a picture.
    enum Index {
        Print = 2,
        Edit = 3,
        Add = 4,
        Delete = 5,
        Close = 6,
        Save = 12, // also Select
        Cancel = 13,
        Today = 16,
    };

    // Installs itself as the source of button pictures for StyleForm.
    explicit SmallButtonImages(QObject *parent = nullptr);
    ~SmallButtonImages() override;

    // The picture of an index; a null icon for an index without one.
    QIcon icon(int index);
    // The resource a picture is drawn from; empty for an index without one.
    static QString resource(int index);

private:
    QHash<int, QIcon> m_drawn;
};

} // namespace qm
