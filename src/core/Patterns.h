#pragma once
// Name patterns as the kill list and the address check write them.
#include <string_view>

// Whether name matches pattern, case ignored: "*" any run of characters, "?"
// any one, "#" one digit, "[a-z]" one of a set, "[!a-z]" one not in it; every
// other character stands for itself. Takes time in proportion to the name's
// length times the pattern's, never more (no backtracking blow-up).
bool PatternMatches(std::string_view pattern, std::string_view name);
