#include "HardwareModels.h"

#include <cstring>

HardwareModels::~HardwareModels() {
    if (m_hwdb) {
        m_f.hwdbUnref(m_hwdb);
    }
    if (m_udev) {
        m_f.unref(m_udev);
    }
}

bool HardwareModels::open() {
    if (m_library) {
        return m_hwdb != nullptr;
    }
    m_library = std::make_unique<DynamicLibrary>(m_libraryName);
    const DynamicLibrary& l = *m_library;
    udev* (*create)() = nullptr;
    udev_hwdb* (*hwdbCreate)(udev*) = nullptr;
    const bool bound = l.bind("udev_new", create) && l.bind("udev_hwdb_new", hwdbCreate) &&
                       l.bind("udev_unref", m_f.unref) && l.bind("udev_hwdb_unref", m_f.hwdbUnref) &&
                       l.bind("udev_device_new_from_subsystem_sysname", m_f.deviceFromName) &&
                       l.bind("udev_device_get_parent", m_f.parent) &&
                       l.bind("udev_device_get_sysattr_value", m_f.sysattr) &&
                       l.bind("udev_device_unref", m_f.deviceUnref) &&
                       l.bind("udev_hwdb_get_properties_list_entry", m_f.properties) &&
                       l.bind("udev_list_entry_get_next", m_f.next) &&
                       l.bind("udev_list_entry_get_name", m_f.name) &&
                       l.bind("udev_list_entry_get_value", m_f.value);
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
