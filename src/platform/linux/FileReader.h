#pragma once
// Small whole-file reads of /proc and /sys.
#include "UniqueFd.h"

#include <string>

// Reads at most maxBytes of the file into out. False when it can't be opened or read.
bool ReadSmallFile(const char* path, std::string& out, std::size_t maxBytes = 1 << 20);

// A one-word attribute file of /sys, without its line end; empty when unreadable.
std::string ReadWordFile(const std::string& path);

// A /proc file kept open and read again from its start on each call, which
// saves an open and a close per reading.
class ProcFile {
public:
    explicit ProcFile(const char* path);
    // Reads the whole file into out; false when it could not be read.
    bool read(std::string& out, std::size_t maxBytes = 1 << 20);

private:
    const char* m_path;
    UniqueFd m_fd;
};
