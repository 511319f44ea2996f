#include "core/Registry.h"

#include "platform/IAutostart.h"

namespace {

bool isRunKey(std::uint32_t root, std::string_view keyPath) {
    return root == kHkeyCurrentUser && keyPath == kRunKeyPath;
}

} // namespace

bool SaveRegistryString(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                        const std::string& valueName, std::string& value) {
    if (isRunKey(root, keyPath) && autostart.add(valueName, value)) {
        return true;
    }
    value.clear();
    return false;
}

void DeleteRegistryValue(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                         const std::string& valueName) {
    if (isRunKey(root, keyPath)) {
        autostart.remove(valueName);
    }
}
