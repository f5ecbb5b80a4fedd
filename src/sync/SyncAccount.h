#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

// The server account the diary, tasks, occasions and contacts are kept in
// step with. Everything but the password lives in the settings; the password
// lives in the system's secret store.
namespace qm {

struct SyncAccount {
    // What the user typed: the server's address, from which the calendar and
    // the address book are found.
    QUrl server;
    QString user;
    // The calendar (events and to-dos) and the address book chosen; either
    // may be empty, and that side is then not kept in step.
    QUrl calendar;
    QUrl addressBook;
    // Minutes between syncs while the program runs; 0 is never.
    int intervalMinutes = 0;

    bool isSet() const { return server.isValid() && !user.isEmpty(); }
};

// How the program reaches the server: the account's user and password, and
// certificates trusted beyond the system's (a test's own; a real user's
// server is checked against the system's authorities, and an error is shown,
// never ignored).
struct SyncCredentials {
    QString user;
    QString password;
    QList<QSslCertificate> trusted;
};

} // namespace qm
