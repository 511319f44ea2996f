#pragma once
// The features of the main window, made in the order they start.
#include "core/Feature.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IAlert;
class Placement;
class QWidget;
class TrafficMonitor;
class TrayIcon;
class WindowCommands;
class WindowControls;
struct Platform;

// What a feature may be made with.
struct FeatureContext {
    Platform& platform;
    WindowHost& host;
    QWidget& window;
    WindowControls& controls;
    std::function<Keys()> keyState;
    std::string appFolder;
};

// Every feature, in start-up order, with the ones the window routes its own
// controls' events to.
struct FeatureSet {
    FeatureSet();
    FeatureSet(FeatureSet&&) noexcept;
    FeatureSet& operator=(FeatureSet&&) noexcept;
    ~FeatureSet();
    std::unique_ptr<IAlert> alert; // the slide-in alerts the tools report through
    std::vector<std::unique_ptr<Feature>> all;
    TrafficMonitor* monitor = nullptr;
    Placement* placement = nullptr;
    TrayIcon* tray = nullptr;
    WindowCommands* commands = nullptr;
};

FeatureSet MakeFeatures(FeatureContext& context);
