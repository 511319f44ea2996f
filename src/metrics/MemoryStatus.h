#pragma once
// A snapshot of physical memory, commit and this process's address space.
#include <cstdint>

class ISystemInfo;

struct MemoryStatus {
    std::int32_t MemoryLoad = 0; // percent of physical memory in use
    std::int64_t TotalPhys = 0;  // bytes
    std::int64_t AvailPhys = 0;
    std::int64_t TotalPageFile = 0; // commit limit
    std::int64_t AvailPageFile = 0;
    std::int64_t TotalVirtual = 0; // user part of this process's address space
    std::int64_t AvailVirtual = 0;
};

// The last snapshot taken, shared program-wide; starts zero-filled.
extern MemoryStatus CurrentMemoryStatus;

// True on the NT family (high bit of the version word clear).
bool IsNtPlatform(ISystemInfo& system);
// A 32-bit value read as unsigned.
double UnsignedToDouble(std::int32_t value);
// A fresh snapshot; fields the system could not fill stay 0.
MemoryStatus GetMemoryStatus(ISystemInfo& system);
