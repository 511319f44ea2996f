#pragma once
// Writing a file so that no crash or full disk leaves it torn, and the
// program's error log.
#include <optional>
#include <string>
#include <string_view>

// Replaces the file at path with bytes: written whole to a new file beside
// it, flushed to the disk, then renamed over the old one, so that the old or
// the new file is there, never a torn or empty one. The folder must exist.
// std::nullopt on success, else what failed; the old file is then untouched.
std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Writes a line to the system's error log (the journal) and standard error.
void LogError(std::string_view message);

// Whether code may be loaded from the file: the file and its folder are
// owned by root or by this user, and neither may be written by the group or
// others, so that a copy of the program run from a shared folder never loads
// a library another user put there. False, with the reason in why, when not
// (or when the file cannot be found).
bool TrustedToLoad(const std::string& path, std::string& why);
