#include "core/GraphGestures.h"

PressPlan PlanGraphPress(const GraphPress& p) {
    PressPlan plan;
    if (p.displayMode != 2) {
        return plan;
    }
    if (p.x <= 20 && p.y <= 10) {
        if (p.keys.shift) {
            plan.gesture = Gesture::EjectAll;
        }
        plan.drag = false;
    } else if (p.x >= 120 && p.showBandwidth) {
        plan.gesture = p.keys.ctrlAlone() ? Gesture::ToggleMute : Gesture::TaskManager;
        plan.suppressMenu = true;
        plan.drag = false;
    } else if (p.x >= 100 && p.showBandwidth) {
        plan.gesture = p.keys.ctrlAlone() ? Gesture::ToggleMute : Gesture::FreeMemory;
        plan.suppressMenu = true;
        plan.drag = false;
    } else if (p.keys.ctrlAlone() && p.showBandwidth) {
        plan.gesture = Gesture::TaskbarAutoHide;
    }
    return plan;
}

Gesture PlanGraphDoubleClick(Keys keys) {
    if (keys.ctrl) {
        return Gesture::TaskManager;
    }
    if (keys.shift) {
        return Gesture::FreeMemory;
    }
    if (keys.alt) {
        return Gesture::FileManager;
    }
    return Gesture::NextDisplayMode;
}
