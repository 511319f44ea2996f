#pragma once
// Files in the program's folder: whether one holds anything, its text.
#include <cstddef>
#include <string>

// True when the file exists and holds at least one byte; false when it is
// empty, missing or can't be read.
bool FileExists(const std::string& path);
// The file's first maxBytes bytes; empty when it cannot be read.
std::string ReadTextFile(const std::string& path, std::size_t maxBytes);

// The program's own folder with the path separator appended when missing.
std::string AppFolderFrom(const std::string& programFolder);
