#pragma once
// Settings as INI files, one per application: <config>/<app>/<app>.ini with
// the section as the INI group. The file is read once; every write replaces
// it whole and atomically, from the values held in memory, so nothing a
// failed or interrupted write does can tear it or lose a key. A file that is
// not a settings file (binary junk, or larger than 1 MiB) is set aside as
// <app>.ini.bad and the program starts on defaults. Failures are logged once.
#include "platform/ISettingsStore.h"
#include "platform/common/IniText.h"

#include <QString>
#include <map>
#include <vector>

class QtSettingsStore : public ISettingsStore {
public:
    // The largest settings file read; a larger one is set aside.
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    // configFolder: the per-user configuration folder ($XDG_CONFIG_HOME);
    // empty when there is none: nothing is read or written (logged once).
    explicit QtSettingsStore(QString configFolder);
    ~QtSettingsStore() override;

    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override;
    bool has(const std::string& app, const std::string& section, const std::string& key) override;
    bool set(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;
    bool setMany(const std::string& app, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& values) override;

    QString filePath(const std::string& app) const;

private:
    struct File {
        std::vector<IniEntry> entries;
        bool failureLogged = false;
    };
    File& file(const std::string& app);
    const IniEntry* find(const std::string& app, const std::string& section, const std::string& key);
    void load(const std::string& app, File& file);

    QString m_folder;
    std::map<std::string, File> m_files;
};
