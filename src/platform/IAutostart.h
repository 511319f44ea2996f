#pragma once
// Programs started with the user's session.
#include <string>

class IAutostart {
public:
    virtual ~IAutostart() = default;
    // Starts command (a program's full path, no arguments) with every new
    // session under the entry's name, replacing an entry of that name.
    // False when the entry could not be written.
    virtual bool add(const std::string& name, const std::string& command) = 0;
    // Removes the entry of that name. True when no such entry is left.
    virtual bool remove(const std::string& name) = 0;
};
