#pragma once
// Drives by letter, and the steps that take a volume off line so its device
// can be removed.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

// Drive types, as the system's drive type query gives them.
enum DriveType : std::int32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1, // nothing under that letter
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

struct DriveState {
    std::int32_t type = kDriveNoRootDir;
    bool ready = false; // its root can be read (false for an empty card reader slot)
};

// A: to Z:.
using DriveTable = std::array<DriveState, 26>;

class IDrives {
public:
    virtual ~IDrives() = default;

    // The drives present now. Cheap enough for a poll every few seconds;
    // never touches a network share.
    virtual DriveTable scan() = 0;
    // The drive letter ("D") of the filesystem holding path; empty when unknown.
    virtual std::string letterOf(const std::string& path) = 0;
    // The folder a drive ("E:") is opened at (its mount point); empty when
    // no drive has that name.
    virtual std::string rootOf(const std::string& name) = 0;
    // The name of the system's drive ("C:"), which is never taken off line.
    virtual std::string systemDrive() const = 0;

    // Runs the window's events, waiting at most maxMs for one; false when the
    // waiting step must give up (the program is ending).
    using Wait = std::function<bool(int maxMs)>;

    // The volume steps. Each returns 0 on success, else an errno-style number
    // (16 busy, 13 not authorised, 110 timed out, 22 not mounted, 5 failed,
    // 2 no service, 125 given up), never 0 for a failure. They wait for the
    // system through wait, so the window keeps painting meanwhile.
    // Opens the volume of a drive name ("E:") of the given type.
    virtual int openVolume(const std::string& name, std::int32_t& handle, const Wait& wait) = 0;
    // One try to take the volume for ourselves; fails while files are open on it.
    virtual int lockVolume(std::int32_t handle, const Wait& wait) = 0;
    // Takes the filesystem off line everywhere it is mounted.
    virtual int dismountVolume(std::int32_t handle, const Wait& wait) = 0;
    // Lets the device's media be removed.
    virtual int allowMediaRemoval(std::int32_t handle, const Wait& wait) = 0;
    // Ejects the media, or powers the device off, or detaches an image.
    virtual int ejectMedia(std::int32_t handle, const Wait& wait) = 0;
    virtual int closeVolume(std::int32_t handle) = 0;
    // Frees the drive's letter.
    virtual void removeLetter(const std::string& name) = 0;
};
