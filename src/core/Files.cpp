#include "core/Files.h"

#include <cstdio>
#include <filesystem>

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        std::size_t read = 0;
        while (text.size() < maxBytes && (read = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            text.append(chunk, std::min(read, maxBytes - text.size()));
        }
        std::fclose(file);
    }
    return text;
}

bool FileExists(const std::string& path) {
    // C streams: a C++ file stream brings up the library's locale machinery,
    // which a resident program would keep in memory for two checks at start-up.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    char byte = 0;
    const bool read = std::fread(&byte, 1, 1, file) == 1;
    std::fclose(file);
    return read;
}

std::string AppFolderFrom(const std::string& programFolder) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!programFolder.empty() && programFolder.back() == separator) {
        return programFolder;
    }
    return programFolder + separator;
}
