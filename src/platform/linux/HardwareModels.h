#pragma once
// Model names of network hardware from udev's hardware database. libudev is
// loaded by the first look-up and unloaded with this object: names are
// needed only when a new interface is described, and a resident widget that
// kept the library and the mapped database would carry them for nothing.
#include "DynamicLibrary.h"

#include <memory>
#include <string>

struct udev;
struct udev_device;
struct udev_hwdb;
struct udev_list_entry;

class HardwareModels {
public:
    // library: the file to load, the system's libudev unless a test names
    // another.
    explicit HardwareModels(std::string library = "libudev.so.1") : m_libraryName(std::move(library)) {}
    ~HardwareModels();
    HardwareModels(const HardwareModels&) = delete;
    HardwareModels& operator=(const HardwareModels&) = delete;

    // The database's model for the net device of that name (from the first
    // parent with a modalias that has one), or "" when there is none or
    // udev cannot be had.
    std::string model(const std::string& netName);

private:
    bool open();

    std::string m_libraryName;
    std::unique_ptr<DynamicLibrary> m_library; // loaded by the first look-up
    udev* m_udev = nullptr;
    udev_hwdb* m_hwdb = nullptr;
    struct Functions {
        udev* (*unref)(udev*);
        udev_hwdb* (*hwdbUnref)(udev_hwdb*);
        udev_device* (*deviceFromName)(udev*, const char*, const char*);
        udev_device* (*parent)(udev_device*);
        const char* (*sysattr)(udev_device*, const char*);
        udev_device* (*deviceUnref)(udev_device*);
        udev_list_entry* (*properties)(udev_hwdb*, const char*, unsigned);
        udev_list_entry* (*next)(udev_list_entry*);
        const char* (*name)(udev_list_entry*);
        const char* (*value)(udev_list_entry*);
    } m_f{};
};
