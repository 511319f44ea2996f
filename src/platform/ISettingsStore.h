#pragma once
// Per-user settings: text values addressed by application, section and key.
#include <string>
#include <utility>
#include <vector>

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or defaultValue when the key is absent or unreadable.
    virtual std::string get(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& defaultValue) = 0;
    // True when the key is stored, whatever its text.
    virtual bool has(const std::string& app, const std::string& section, const std::string& key) = 0;
    // Stores the text; false when it could not be written (the old value stays).
    virtual bool set(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
    // Stores several values of one section in one write, in the order given;
    // false when it could not be written (the old values stay in the file).
    virtual bool setMany(const std::string& app, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) = 0;
};
