#pragma once
// The real implementations of every platform concern, made once by the
// application and handed to the logic by reference.
#include "IAutostart.h"
#include "IClock.h"
#include "IDrives.h"
#include "IInstanceLock.h"
#include "ILocalAddress.h"
#include "IMemoryClaim.h"
#include "INetworkTable.h"
#include "IPageReader.h"
#include "IPowerStatus.h"
#include "IProcesses.h"
#include "ISettingsStore.h"
#include "IShell.h"
#include "ISound.h"
#include "ISpeakers.h"
#include "ISystemInfo.h"
#include "ITaskbar.h"
#include "IWindowSystem.h"

#include <functional>
#include <memory>
#include <string>

struct Platform {
    std::unique_ptr<IClock> clock;
    std::unique_ptr<INetworkTable> network;
    std::unique_ptr<ISystemInfo> system;
    std::unique_ptr<ISettingsStore> settings;
    std::unique_ptr<IInstanceLock> instanceLock;
    std::unique_ptr<IShell> shell;
    std::unique_ptr<ISound> sound;
    std::unique_ptr<IPowerStatus> power;
    std::unique_ptr<IAutostart> autostart;
    std::unique_ptr<IDrives> drives;
    std::unique_ptr<ISpeakers> speakers;
    std::unique_ptr<IProcesses> processes;
    std::unique_ptr<ITaskbar> taskbar;
    std::unique_ptr<ILocalAddress> localAddress;
    std::unique_ptr<IMemoryClaim> memoryClaim;
    std::unique_ptr<IWindowSystem> windows;
    std::unique_ptr<IPageReader> pages;
};

// Builds the implementations of the platform this program was compiled for.
Platform createPlatform();

// The folder holding the program file, or an empty string when unknown.
std::string programFolder();

// The program file's name without its folder and extension; with
// executableSuffix() appended it names the program file again.
std::string programBaseName();

// What the platform's program files end in: ".exe" on Windows, nothing here.
std::string executableSuffix();

// Picks the window system before the application opens a display: X11
// where an X server is reachable (XWayland beside a Wayland compositor)
// and the user chose none. Call before the QGuiApplication is made.
void chooseWindowSystem(int argc, char* argv[]);
// Once the application is made: the environment is as the user left it
// (the children the program starts inherit it), and on a Wayland session
// the user is told once on standard error what is lost there.
void windowSystemChosen();

// Registers the font files this platform needs to answer the faces the window
// asks for by name. Needs a QGuiApplication.
void registerPlatformFonts();

// Runs handler on the event loop when the session asks the program to end
// (termination, interrupt, hang-up or user signal 1), so it can shut down and save.
void onTerminationRequest(std::function<void()> handler);
