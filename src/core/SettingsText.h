#pragma once
// The conversions of settings text: booleans, whole numbers, letter case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
