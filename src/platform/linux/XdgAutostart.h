#pragma once
// Session start-up through the freedesktop.org autostart folder: one desktop
// entry "<name>.desktop" per program.
#include "platform/IAutostart.h"

#include <optional>
#include <string>

class XdgAutostart : public IAutostart {
public:
    // folder: the autostart folder, normally $XDG_CONFIG_HOME/autostart.
    explicit XdgAutostart(std::string folder);
    // Writes the entry atomically (a crash leaves the old file or the new).
    bool add(const std::string& name, const std::string& command) override;
    bool remove(const std::string& name) override;

    // The path of the entry for name, or nullopt when name is not a plain
    // file name.
    std::optional<std::string> entryPath(const std::string& name) const;

private:
    std::string m_folder;
};

// The Exec value of a desktop entry that runs the program at path with no
// arguments: quoted when the path holds a reserved character, with the
// escapes of the quoting and of the string value. nullopt for a relative path
// or one holding a control character, which no entry can carry.
std::optional<std::string> DesktopExecValue(const std::string& path);

// The whole desktop entry text for that program.
std::string DesktopEntryText(const std::string& name, const std::string& execValue);
