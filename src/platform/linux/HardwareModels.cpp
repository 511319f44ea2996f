#include "HardwareModels.h"

#include <cstring>
#include <dlfcn.h>

namespace {

template <typename Function> bool bind(void* library, const char* name, Function& function) {
    // dlsym hands functions back as data pointers.
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace

HardwareModels::~HardwareModels() {
    if (m_hwdb) {
        m_f.hwdbUnref(m_hwdb);
    }
    if (m_udev) {
        m_f.unref(m_udev);
    }
    if (m_library) {
        dlclose(m_library);
    }
}

bool HardwareModels::open() {
    if (m_tried) {
        return m_hwdb != nullptr;
    }
    m_tried = true;
    m_library = dlopen(m_libraryName.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!m_library) {
        return false;
    }
    udev* (*create)() = nullptr;
    udev_hwdb* (*hwdbCreate)(udev*) = nullptr;
    const bool bound = bind(m_library, "udev_new", create) && bind(m_library, "udev_hwdb_new", hwdbCreate) &&
                       bind(m_library, "udev_unref", m_f.unref) &&
                       bind(m_library, "udev_hwdb_unref", m_f.hwdbUnref) &&
                       bind(m_library, "udev_device_new_from_subsystem_sysname", m_f.deviceFromName) &&
                       bind(m_library, "udev_device_get_parent", m_f.parent) &&
                       bind(m_library, "udev_device_get_sysattr_value", m_f.sysattr) &&
                       bind(m_library, "udev_device_unref", m_f.deviceUnref) &&
                       bind(m_library, "udev_hwdb_get_properties_list_entry", m_f.properties) &&
                       bind(m_library, "udev_list_entry_get_next", m_f.next) &&
                       bind(m_library, "udev_list_entry_get_name", m_f.name) &&
                       bind(m_library, "udev_list_entry_get_value", m_f.value);
    if (!bound) {
        return false;
    }
    m_udev = create();
    if (m_udev) {
        m_hwdb = hwdbCreate(m_udev);
    }
    return m_hwdb != nullptr;
}

std::string HardwareModels::model(const std::string& netName) {
    if (!open()) {
        return {};
    }
    udev_device* device = m_f.deviceFromName(m_udev, "net", netName.c_str());
    if (!device) {
        return {};
    }
    std::string model;
    // The net device itself has no modalias; its parents (virtio, pci, usb) do.
    for (udev_device* parent = m_f.parent(device); parent && model.empty(); parent = m_f.parent(parent)) {
        const char* modalias = m_f.sysattr(parent, "modalias");
        if (!modalias) {
            continue;
        }
        for (udev_list_entry* entry = m_f.properties(m_hwdb, modalias, 0); entry; entry = m_f.next(entry)) {
            if (std::strcmp(m_f.name(entry), "ID_MODEL_FROM_DATABASE") == 0) {
                model = m_f.value(entry);
                break;
            }
        }
    }
    m_f.deviceUnref(device);
    return model;
}
