#pragma once
// The registry as the start-up setting uses it: on this platform the one key
// kept is the session's start-up programs, as autostart entries.
#include <cstdint>
#include <string>
#include <string_view>

class IAutostart;

// The registry root of the current user's keys.
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
// The key whose values are the programs started with the session.
inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Writes a text value. The session's start-up programs (the current user's
// Run key) are the one key this platform keeps, as autostart entries; any
// other key fails. True on success; on failure value is emptied.
bool SaveRegistryString(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                        const std::string& valueName, std::string& value);

// Deletes a value of the same key; failures are ignored.
void DeleteRegistryValue(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                         const std::string& valueName);
