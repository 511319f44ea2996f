#pragma once
// One part of what the main window does. A feature adds its items to the
// popup menu with their commands, carries out the graph
// gestures it owns, and takes part in start-up, layout changes and shutdown.
// The window owns the features and routes to them; it runs no command itself.
#include "core/AppSettings.h"
#include "core/GraphGestures.h"
#include "core/PopupMenu.h"
#include "platform/IWindowSystem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Settings keys and values a feature saves at shutdown.
using SettingsList = std::vector<std::pair<std::string, std::string>>;

// What features ask of the window they belong to.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The check marks of the menu's options: the program's option state.
    virtual Options& options() = 0;
    virtual std::int32_t displayMode() const = 0;
    // Lays the window out for mode 0 Normal, 1 Small or 2 Tiny.
    virtual void setDisplayMode(std::int32_t mode) = 0;
    virtual bool windowVisible() const = 0;
    // The window's top-left corner on the screen, in logical pixels, as the
    // display server has it (Qt's own idea of it can be stale).
    virtual ScreenPoint windowPlace() = 0;
    // Gives the window a fixed size; its top-left corner stays where it
    // stands on the screen.
    virtual void resizeWindow(int width, int height) = 0;
    // Prepares and shows the popup menu (the menu opens unless Ctrl or Shift
    // is held, or a gesture suppressed it once).
    virtual void openPopupMenu() = 0;
    // Ends the program through the normal shutdown.
    virtual void endProgram() = 0;
    // One of the saved settings may have changed: they are saved soon.
    virtual void settingsChanged() = 0;
};

class Feature {
public:
    virtual ~Feature() = default;

    // Start-up, in the order the features are listed, with the settings read.
    virtual void start(const StartupSettings&) {}
    // Once every feature has started.
    virtual void started() {}
    // The window was laid out anew for mode (it may have changed size).
    virtual void modeChanged(std::int32_t) {}
    // The pointer moved over the graph, at (x, y) graph pixels.
    virtual void graphPointerMoved(int, int) {}
    // The window lost the keyboard focus to another window.
    virtual void windowDeactivated() {}
    // After each second's sample, shown or hidden: periodic work wakes with
    // the sample instead of waking the program at a moment of its own.
    virtual void sampled() {}
    // Adds this feature's items, each with its command, for one opening of
    // the menu.
    virtual void addMenuItems(MenuBuilder&) {}
    // Carries out a gesture it owns; false when the gesture is not its own.
    virtual bool takeGesture(Gesture) { return false; }
    // Adds the keys it saves, with their values now (at shutdown, and
    // whenever one may have changed).
    virtual void addSettings(SettingsList&) const {}
    // Shutdown, after the settings were taken: releases what it holds.
    virtual void stop() {}
};
