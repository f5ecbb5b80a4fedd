#pragma once

#include <QString>

// The program's name and version. The name is also the caption of its
// messages and the section its settings live under.
namespace qm {

inline QString ProgramTitle() {
    return QStringLiteral("Quillmate");
}

inline QString ProgramVersion() {
    return QStringLiteral("2.0a");
}

} // namespace qm
