#pragma once
// The kill list, "killlist.txt" beside the program: one process name pattern
// per line, ";" starting a comment. Plain C++: the text is handed in.
#include "core/Patterns.h"

#include <string>
#include <string_view>
#include <vector>

// The entries of the file's text in file order: lines end at a line feed, a
// carriage return or both; each is trimmed of spaces (tabs stay); empty lines
// and comments are skipped.
std::vector<std::string> KillListEntries(std::string_view text);

// "Kill " and the first entry, or "Kill Processes" when there is none.
std::string KillMenuCaption(std::string_view text);

// The pattern an entry stands for: lower case, with the platform's executable
// suffix appended when it has neither "*" nor ".".
std::string EntryPattern(std::string_view entry, std::string_view executableSuffix);
