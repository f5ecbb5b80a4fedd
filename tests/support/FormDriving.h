#pragma once

#include <QAbstractButton>
#include <QString>
#include <QtTest>

// Finding and pressing a form's controls by their objectName.
namespace qm::test {

// The control named name under parent; a missing control ends the test
// program with its name, rather than a crash further on.
template <typename T = QWidget> T *child(const QObject *parent, const QString &name) {
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A left click in the middle of the named button, as a user gives it.
inline void click(const QObject *parent, const QString &name) {
    auto *button = child<QAbstractButton>(parent, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace qm::test
