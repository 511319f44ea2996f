#include "MemoryStatus.h"

#include "platform/ISystemInfo.h"

MemoryStatus CurrentMemoryStatus;

bool IsNtPlatform(ISystemInfo& system) {
    return (system.versionWord() & 0x80000000u) == 0;
}

double UnsignedToDouble(std::int32_t value) {
    return value < 0 ? static_cast<double>(value) + 4294967296.0 : static_cast<double>(value);
}

namespace {
std::int64_t fromDword(std::uint32_t value) {
    return static_cast<std::int64_t>(UnsignedToDouble(static_cast<std::int32_t>(value)));
}
std::int64_t clamp64(std::uint64_t value) {
    return value > static_cast<std::uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(value);
}
} // namespace

MemoryStatus GetMemoryStatus(ISystemInfo& system) {
    MemoryStatus status;
    if (IsNtPlatform(system)) {
        if (const auto ex = system.memoryStatusEx()) {
            status.MemoryLoad = static_cast<std::int32_t>(ex->memoryLoad);
            status.TotalPhys = clamp64(ex->totalPhys);
            status.AvailPhys = clamp64(ex->availPhys);
            status.TotalPageFile = clamp64(ex->totalPageFile);
            status.AvailPageFile = clamp64(ex->availPageFile);
            status.TotalVirtual = clamp64(ex->totalVirtual);
            status.AvailVirtual = clamp64(ex->availVirtual);
        }
    } else if (const auto old = system.memoryStatus32()) {
        status.MemoryLoad = static_cast<std::int32_t>(fromDword(old->memoryLoad));
        status.TotalPhys = fromDword(old->totalPhys);
        status.AvailPhys = fromDword(old->availPhys);
        status.TotalPageFile = fromDword(old->totalPageFile);
        status.AvailPageFile = fromDword(old->availPageFile);
        status.TotalVirtual = fromDword(old->totalVirtual);
        status.AvailVirtual = fromDword(old->availVirtual);
    }
    return status;
}
