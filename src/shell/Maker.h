#pragma once

#include <QString>

// How to reach the people who make the program.
namespace qm {

inline QString WebSiteAddress() {
    return QStringLiteral("www.varnellsoftware.example");
}
inline QString DonationPageAddress() {
    return QStringLiteral("www.varnellsoftware.example/donate.html");
}
inline QString InformationMailbox() {
    return QStringLiteral("info@varnellsoftware.example");
}
inline QString UpdateMailbox() {
    return QStringLiteral("updates@varnellsoftware.example");
}
// Tells the maker which program an update request is about.
inline QString MakerReference() {
    return QStringLiteral("QMT");
}

} // namespace qm
