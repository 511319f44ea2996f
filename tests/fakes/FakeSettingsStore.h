#pragma once
// Settings in memory; records every write in order.
#include "platform/ISettingsStore.h"

#include <map>
#include <tuple>
#include <vector>

class FakeSettingsStore : public ISettingsStore {
public:
    using Key = std::tuple<std::string, std::string, std::string>;
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override {
        const auto found = values.find({app, section, key});
        return found == values.end() ? defaultValue : found->second;
    }
    bool has(const std::string& app, const std::string& section, const std::string& key) override {
        return values.count({app, section, key}) > 0;
    }
    bool set(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override {
        writes.push_back({key, value});
        values[{app, section, key}] = value;
        return true;
    }
    bool setMany(const std::string& app, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& many) override {
        ++batches;
        bool ok = true;
        for (const auto& [key, value] : many) {
            ok = set(app, section, key, value) && ok;
        }
        return ok;
    }
    // The main window's own section.
    void put(const std::string& key, const std::string& value) {
        values[{"Trafalo", "Setting", key}] = value;
    }
    std::string main(const std::string& key) { return get("Trafalo", "Setting", key, "<absent>"); }

    std::map<Key, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
    int batches = 0; // setMany calls
};
