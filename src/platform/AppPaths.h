#pragma once

#include <QString>

namespace qm {

// Where the program finds itself and where a user may keep data when the
// program's own folder cannot be written (a program installed under /usr).
class AppPaths {
public:
    virtual ~AppPaths() = default;
    virtual QString executablePath() const = 0;
    virtual QString perUserDataFolder() const = 0;
    virtual bool isWritableFolder(const QString &folder) const = 0;
};

class SystemAppPaths final : public AppPaths {
public:
    QString executablePath() const override;
    QString perUserDataFolder() const override;
    bool isWritableFolder(const QString &folder) const override;
};

} // namespace qm
