#pragma once
// Settings as INI files, one per application: <config>/<app>/<app>.ini with
// the section as the INI group. Every write replaces the file atomically.
#include "platform/ISettingsStore.h"

#include <QString>
#include <map>
#include <memory>

class QSettings;

class QtSettingsStore : public ISettingsStore {
public:
    // configFolder: the per-user configuration folder ($XDG_CONFIG_HOME).
    explicit QtSettingsStore(QString configFolder);
    ~QtSettingsStore() override;

    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override;
    bool has(const std::string& app, const std::string& section, const std::string& key) override;
    bool set(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;

    QString filePath(const std::string& app) const;

private:
    QSettings& store(const std::string& app);

    QString m_folder;
    std::map<std::string, std::unique_ptr<QSettings>> m_stores;
};
