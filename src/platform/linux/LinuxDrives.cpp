#include "LinuxDrives.h"

#include "FileReader.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kLoop = QStringLiteral("org.freedesktop.UDisks2.Loop");
const QString kPartition = QStringLiteral("org.freedesktop.UDisks2.Partition");
const QString kEncrypted = QStringLiteral("org.freedesktop.UDisks2.Encrypted");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kNoObject = QStringLiteral("/");

// Unmounting a stick with unwritten data can take minutes.
constexpr int kLongCallMs = 10 * 60 * 1000;
constexpr int kShortCallMs = 60 * 1000;
constexpr int kWaitStepMs = 50;
constexpr int kMaxUnmountRounds = 16;

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

// The first entry of a folder, in the order the folder lists them.
std::string firstEntry(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir) {
        return {};
    }
    std::string name;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') {
            name = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return name;
}

// The whole disk of a block device folder in sysfs (a partition's parent).
std::string diskFolder(const std::string& folder) {
    return exists(folder + "/partition") ? folder.substr(0, folder.rfind('/')) : folder;
}

QVariantMap noInteraction() {
    // A password prompt must never stall the window waiting on the call.
    return {{QStringLiteral("auth.no_user_interaction"), true}};
}

} // namespace

int UdisksErrorNumber(const std::string& name) {
    struct Rule {
        const char* suffix;
        int number;
    };
    static constexpr Rule kRules[] = {
        {"UDisks2.Error.DeviceBusy", EBUSY},
        {"UDisks2.Error.NotAuthorized", EACCES},
        {"UDisks2.Error.NotAuthorizedCanObtain", EACCES},
        {"UDisks2.Error.NotAuthorizedDismissed", EACCES},
        {"DBus.Error.AccessDenied", EACCES},
        {"UDisks2.Error.Timedout", ETIMEDOUT},
        {"DBus.Error.NoReply", ETIMEDOUT},
        {"DBus.Error.Timeout", ETIMEDOUT},
        {"DBus.Error.TimedOut", ETIMEDOUT},
        {"UDisks2.Error.NotMounted", EINVAL},
        {"DBus.Error.ServiceUnknown", ENOENT},
        {"DBus.Error.NameHasNoOwner", ENOENT},
        {"DBus.Error.NoServer", ENOENT},
        {"DBus.Error.Disconnected", ENOENT},
        {"DBus.Error.UnknownObject", ENOENT},
        {"UDisks2.Error.Cancelled", ECANCELED},
    };
    for (const Rule& rule : kRules) {
        const std::string_view suffix = rule.suffix;
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return rule.number;
        }
    }
    return EIO;
}

// The system bus and the calls made on udisks2, each waited for through the
// caller's event loop.
class UdisksClient {
public:
    UdisksClient() : m_bus(QDBusConnection::systemBus()) {
        qDBusRegisterMetaType<InterfaceMap>();
        qDBusRegisterMetaType<ManagedObjects>();
    }

    int call(const QString& path, const QString& interface, const QString& method, const QVariantList& args,
             int timeoutMs, const IDrives::Wait& wait, QDBusMessage* reply = nullptr) {
        if (!m_bus.isConnected()) {
            return ENOENT;
        }
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
        message.setArguments(args);
        message.setInteractiveAuthorizationAllowed(false);
        const QDBusPendingCall pending = m_bus.asyncCall(message, timeoutMs);
        // The watcher's signal wakes the waiting event loop when the answer comes.
        QDBusPendingCallWatcher watcher(pending);
        while (!watcher.isFinished()) {
            if (!wait(kWaitStepMs)) {
                return ECANCELED;
            }
        }
        const QDBusMessage answer = watcher.reply();
        if (answer.type() == QDBusMessage::ErrorMessage) {
            return UdisksErrorNumber(answer.errorName().toStdString());
        }
        if (reply) {
            *reply = answer;
        }
        return 0;
    }

    int objects(ManagedObjects& out, const IDrives::Wait& wait) {
        QDBusMessage reply;
        const int error = call(QStringLiteral("/org/freedesktop/UDisks2"),
                               QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                               QStringLiteral("GetManagedObjects"), {}, kShortCallMs, wait, &reply);
        if (error == 0) {
            out = qdbus_cast<ManagedObjects>(reply.arguments().value(0));
        }
        return error;
    }

    // How many places a filesystem is mounted at now; -1 when unknown.
    int mountCount(const QString& path, const IDrives::Wait& wait) {
        QDBusMessage reply;
        if (call(path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {kFilesystem, QStringLiteral("MountPoints")}, kShortCallMs, wait, &reply) != 0) {
            return -1;
        }
        const QVariant value = qvariant_cast<QDBusVariant>(reply.arguments().value(0)).variant();
        const QDBusArgument argument = value.value<QDBusArgument>();
        int count = 0;
        argument.beginArray();
        while (!argument.atEnd()) {
            QByteArray mountPoint;
            argument >> mountPoint;
            ++count;
        }
        argument.endArray();
        return count;
    }

private:
    QDBusConnection m_bus;
};

// What an opened volume is, in udisks2's objects.
struct LinuxDrives::Volume {
    QString block;         // the block device holding the filesystem
    QString cryptoBacking; // the locked device under an unlocked LUKS volume, or "/"
    QString loop;          // the loop device to detach, or empty
    QString drive;         // the drive to eject or power off, or "/"
    bool ejectable = false, canPowerOff = false;
};

LinuxDrives::LinuxDrives(std::string mountInfo, std::string sysRoot)
    : m_mountInfo(std::move(mountInfo)), m_sysRoot(std::move(sysRoot)) {}

LinuxDrives::~LinuxDrives() = default;

void LinuxDrives::refresh() {
    std::string text;
    ReadSmallFile(m_mountInfo.c_str(), text, 16 << 20);
    m_letters.update(ParseMountInfo(text));
}

std::int32_t LinuxDrives::blockType(std::uint32_t major, std::uint32_t minor) const {
    std::string folder =
        resolved(m_sysRoot + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor));
    if (folder.empty()) {
        return kDriveUnknown;
    }
    folder = diskFolder(folder);
    // A mapped device (an unlocked LUKS volume) is of the kind of the disk under it.
    for (int depth = 0; depth < 4; ++depth) {
        const std::string under = firstEntry(folder + "/slaves");
        if (under.empty()) {
            break;
        }
        std::string slave = folder;
        slave.append("/slaves/").append(under);
        const std::string next = resolved(slave);
        if (next.empty()) {
            break;
        }
        folder = diskFolder(next);
    }
    const std::string name = folder.substr(folder.rfind('/') + 1);
    if (name.rfind("sr", 0) == 0 || ReadWordFile(folder + "/device/type") == "5") {
        return kDriveCdRom;
    }
    return ReadWordFile(folder + "/removable") == "1" ? kDriveRemovable : kDriveFixed;
}

namespace {

std::uint64_t deviceNumber(const LetteredFs& fs) {
    if (fs.major != 0) {
        return makedev(fs.major, fs.minor);
    }
    // A filesystem with devices of its own (btrfs) lists an anonymous number.
    struct stat info {};
    return ::stat(fs.source.c_str(), &info) == 0 && S_ISBLK(info.st_mode) ? info.st_rdev : 0;
}

QString objectPath(const QVariantMap& properties, const char* name) {
    return qvariant_cast<QDBusObjectPath>(properties.value(QString::fromLatin1(name))).path();
}

QString blockOfDevice(const ManagedObjects& objects, std::uint64_t device) {
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const auto block = it.value().find(kBlock);
        if (block != it.value().end() &&
            block->value(QStringLiteral("DeviceNumber")).toULongLong() == device) {
            return it.key().path();
        }
    }
    return {};
}

const InterfaceMap& interfacesOf(const ManagedObjects& objects, const QString& path) {
    static const InterfaceMap kNone;
    const auto it = objects.find(QDBusObjectPath(path));
    return it == objects.end() ? kNone : it.value();
}

// The drive of a block device, or of the device under it when it is an
// unlocked LUKS volume; "/" when none.
QString driveOfBlock(const ManagedObjects& objects, const QString& block) {
    QString path = block;
    for (int depth = 0; depth < 4 && !path.isEmpty() && path != kNoObject; ++depth) {
        const QVariantMap properties = interfacesOf(objects, path).value(kBlock);
        QString drive = objectPath(properties, "Drive");
        if (!drive.isEmpty() && drive != kNoObject) {
            return drive;
        }
        path = objectPath(properties, "CryptoBackingDevice");
    }
    return kNoObject;
}

// The loop device behind a block device (itself, its partition table, or
// the device under a LUKS volume); empty when it is not an image.
QString loopOfBlock(const ManagedObjects& objects, const QString& block) {
    QString path = block;
    for (int depth = 0; depth < 4 && !path.isEmpty() && path != kNoObject; ++depth) {
        const InterfaceMap& interfaces = interfacesOf(objects, path);
        if (interfaces.contains(kLoop)) {
            return path;
        }
        QString table = objectPath(interfaces.value(kPartition), "Table");
        if (interfacesOf(objects, table).contains(kLoop)) {
            return table;
        }
        path = objectPath(interfaces.value(kBlock), "CryptoBackingDevice");
    }
    return {};
}

} // namespace

DriveTable LinuxDrives::scan() {
    refresh();
    DriveTable table;
    std::map<std::uint64_t, std::int32_t> types;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const LetteredFs* fs = m_letters.at(letter);
        if (!fs) {
            continue;
        }
        DriveState& state = table[static_cast<std::size_t>(letter - 'A')];
        state.ready = true; // listed as mounted: its root can be read
        if (fs->remote) {
            state.type = kDriveRemote;
            continue;
        }
        const std::uint64_t device = deviceNumber(*fs);
        const auto known = m_types.find(device);
        std::int32_t type = known != m_types.end() ? known->second
                                                   : blockType(static_cast<std::uint32_t>(major(device)),
                                                               static_cast<std::uint32_t>(minor(device)));
        // "/" on a filesystem without a device of its own (a container's overlay).
        if (type == kDriveUnknown && letter == 'C') {
            type = kDriveFixed;
        }
        types[device] = type;
        state.type = type;
    }
    m_types = std::move(types);
    return table;
}

std::string LinuxDrives::letterOf(const std::string& path) {
    refresh();
    const std::string real = resolved(path);
    const char letter = m_letters.letterOf(real.empty() ? path : real);
    return letter ? std::string(1, letter) : std::string();
}

std::string LinuxDrives::rootOf(const std::string& name) {
    const LetteredFs* fs = name.size() == 2 && name[1] == ':' ? m_letters.at(name[0]) : nullptr;
    return fs && !fs->mountPoints.empty() ? fs->mountPoints.front() : std::string();
}

int LinuxDrives::openVolume(const std::string& name, std::int32_t& handle, const Wait& wait) {
    handle = -1;
    refresh();
    const LetteredFs* fs = name.empty() ? nullptr : m_letters.at(name[0]);
    const LetteredFs* root = m_letters.at('C');
    if (!fs) {
        return ENOENT;
    }
    // Taken now: the letters may change while the call below waits.
    const std::uint64_t device = deviceNumber(*fs);
    const std::uint64_t rootDevice = root ? deviceNumber(*root) : 0;
    if (!m_udisks) {
        m_udisks = std::make_unique<UdisksClient>();
    }
    ManagedObjects objects;
    if (const int error = m_udisks->objects(objects, wait)) {
        return error;
    }
    const QString block = blockOfDevice(objects, device);
    if (block.isEmpty()) {
        return ENODEV;
    }
    auto volume = std::make_unique<Volume>();
    volume->block = block;
    const QVariantMap properties = interfacesOf(objects, block).value(kBlock);
    volume->cryptoBacking = objectPath(properties, "CryptoBackingDevice");
    volume->drive = driveOfBlock(objects, block);
    volume->loop = loopOfBlock(objects, block);
    // Never the disk that holds "/", nor what udisks2 counts as part of the system.
    const QString rootBlock = rootDevice ? blockOfDevice(objects, rootDevice) : QString();
    const bool systemDisk = volume->drive != kNoObject && !rootBlock.isEmpty() &&
                            driveOfBlock(objects, rootBlock) == volume->drive;
    if (systemDisk || (properties.value(QStringLiteral("HintSystem")).toBool() && volume->loop.isEmpty())) {
        return EACCES;
    }
    const QVariantMap drive = interfacesOf(objects, volume->drive).value(kDrive);
    volume->ejectable = drive.value(QStringLiteral("Ejectable")).toBool();
    volume->canPowerOff = drive.value(QStringLiteral("CanPowerOff")).toBool();
    handle = m_nextHandle++;
    m_volumes[handle] = std::move(volume);
    return 0;
}

int LinuxDrives::lockVolume(std::int32_t handle, const Wait& wait) {
    const auto it = m_volumes.find(handle);
    if (it == m_volumes.end()) {
        return EBADF;
    }
    // Fails while a file is open on it or a shell works inside it.
    return m_udisks->call(it->second->block, kFilesystem, QStringLiteral("Unmount"), {noInteraction()},
                          kLongCallMs, wait);
}

int LinuxDrives::dismountVolume(std::int32_t handle, const Wait& wait) {
    const auto it = m_volumes.find(handle);
    if (it == m_volumes.end()) {
        return EBADF;
    }
    const Volume& volume = *it->second;
    for (int round = 0;; ++round) {
        const int mounts = m_udisks->mountCount(volume.block, wait);
        if (mounts < 0) {
            return EIO;
        }
        if (mounts == 0) {
            break;
        }
        if (round == kMaxUnmountRounds) {
            return EBUSY;
        }
        const int error = m_udisks->call(volume.block, kFilesystem, QStringLiteral("Unmount"),
                                         {noInteraction()}, kLongCallMs, wait);
        if (error != 0 && error != EINVAL) {
            return error;
        }
    }
    if (!volume.cryptoBacking.isEmpty() && volume.cryptoBacking != kNoObject) {
        return m_udisks->call(volume.cryptoBacking, kEncrypted, QStringLiteral("Lock"), {noInteraction()},
                              kLongCallMs, wait);
    }
    return 0;
}

int LinuxDrives::allowMediaRemoval(std::int32_t handle, const Wait&) {
    // Nothing on Linux holds the media in that a desktop user could let go:
    // udisks2 has no such step, and the eject below unlocks the tray itself.
    return m_volumes.count(handle) ? 0 : EBADF;
}

int LinuxDrives::ejectMedia(std::int32_t handle, const Wait& wait) {
    const auto it = m_volumes.find(handle);
    if (it == m_volumes.end()) {
        return EBADF;
    }
    const Volume& volume = *it->second;
    if (!volume.loop.isEmpty()) {
        return m_udisks->call(volume.loop, kLoop, QStringLiteral("Delete"), {noInteraction()}, kShortCallMs,
                              wait);
    }
    if (volume.drive == kNoObject) {
        return ENODEV;
    }
    if (volume.ejectable) {
        return m_udisks->call(volume.drive, kDrive, QStringLiteral("Eject"), {noInteraction()}, kLongCallMs,
                              wait);
    }
    if (volume.canPowerOff) {
        return m_udisks->call(volume.drive, kDrive, QStringLiteral("PowerOff"), {noInteraction()},
                              kLongCallMs, wait);
    }
    return EOPNOTSUPP;
}

int LinuxDrives::closeVolume(std::int32_t handle) {
    return m_volumes.erase(handle) ? 0 : EBADF;
}

void LinuxDrives::removeLetter(const std::string& name) {
    if (!name.empty()) {
        m_letters.release(name[0]);
    }
}
