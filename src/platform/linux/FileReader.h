#pragma once
// Small whole-file reads of /proc and /sys with a reused buffer.
#include <string>

// Reads at most maxBytes of the file into out. False when it can't be opened or read.
bool ReadSmallFile(const char* path, std::string& out, std::size_t maxBytes = 1 << 20);
