#pragma once
// Helpers shared by every subsystem: files in the program's folder, the
// conversions of settings text, and number patterns.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class IAutostart;

// True when the file exists and holds at least one byte; false when it is
// empty, missing or can't be read.
bool FileExists(const std::string& path);
// The file's first maxBytes bytes; empty when it cannot be read.
std::string ReadTextFile(const std::string& path, std::size_t maxBytes);

// The program's own folder with the path separator appended when missing.
std::string AppFolderFrom(const std::string& programFolder);

// Text to boolean as settings are read back: "True"/"False" in any case, or a
// number (0 false, any other true). std::nullopt when it is neither.
std::optional<bool> ParseBool(std::string_view text);

// The text with its ASCII letters in lower case.
std::string LowerAscii(std::string_view text);

// Text to a number as settings are read back (leading/trailing blanks allowed,
// a decimal fraction rounded to the nearest whole number). std::nullopt when
// it is not a number or does not fit in 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// Booleans are stored as "True"/"False".
inline std::string BoolText(bool value) {
    return value ? "True" : "False";
}

// The decimal point and thousands separator of the user's locale (UTF-8).
struct NumberSeparators {
    std::string decimal = ".";
    std::string group = ",";
};

// Formats a number with a pattern of the common notation: "0" a digit always
// shown, "#" a digit shown when significant, "," thousands grouping, "." the
// decimal point, "%" multiplies by 100; other characters are copied. Rounds
// half away from zero. Example: FormatNumber(1.5, "0.#0") gives "1.50".
std::string FormatNumber(double value, std::string_view pattern, const NumberSeparators& separators = {});

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
