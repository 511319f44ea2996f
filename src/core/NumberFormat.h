#pragma once
// Numbers as the readouts show them: a pattern and the user's separators.
#include <string>
#include <string_view>

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
