#pragma once

#include <QString>

// How to reach the people who make the program.
namespace qm {

inline QString WebSiteAddress() {
    return QStringLiteral("www.varnellsoftware.example");
}
inline QString InformationMailbox() {
    return QStringLiteral("info@varnellsoftware.example");
}

} // namespace qm
