#pragma once
// What a click on the graph asks for. The graph's regions and modifier keys
// decide; the feature that owns the asked-for action carries it out.
#include <cstdint>
#include <optional>

// The actions a gesture on the graph can ask for.
enum class Gesture {
    NextDisplayMode, // Normal, Small, Tiny, Normal, ...
    TaskManager,
    FreeMemory,
    FileManager,
    EjectAll,
    ToggleMute,
    TaskbarAutoHide, // turn the taskbar's auto-hide on
};

// Modifier keys held at a click.
struct Keys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool ctrlAlone() const { return ctrl && !shift && !alt; }
};

// A button going down on the graph at (x, y), graph pixels.
struct GraphPress {
    std::int32_t displayMode = 0;
    bool showBandwidth = false;
    int x = 0;
    int y = 0;
    Keys keys;
};

struct PressPlan {
    std::optional<Gesture> gesture; // asked for first
    bool suppressMenu = false;      // the release opens no menu
    bool drag = true;               // then the press drags the window (or opens the menu)
};

// In the Tiny layout: the top-left corner ejects with Shift and does nothing
// else; the meters (x >= 120) and the readouts (x >= 100) with Show Bandwidth
// open the task manager and free memory, or toggle the mute with Ctrl alone,
// and suppress the menu; Ctrl alone elsewhere turns the taskbar's auto-hide
// on before the drag. Everything else drags.
PressPlan PlanGraphPress(const GraphPress& press);

// A double click: Ctrl the task manager, else Shift free memory, else Alt the
// file manager, else the next display mode.
Gesture PlanGraphDoubleClick(Keys keys);
