#pragma once
// The panel's auto-hide on the desktops that offer one to other programs,
// chosen by XDG_CURRENT_DESKTOP: Xfce through Xfconf and KDE Plasma through
// its scripting interface, both on the session bus. Elsewhere (GNOME and
// others) the state reads 0 and nothing is changed. Another program's window
// is never shown or hidden: showWindow does nothing. Each call waits on the
// session bus: used off the window's thread. A service that does not answer
// within a second ends the call as if there were no panel.
#include "platform/ITaskbar.h"

#include <optional>
#include <string>

class LinuxTaskbar : public ITaskbar {
public:
    // desktop: the value of XDG_CURRENT_DESKTOP.
    explicit LinuxTaskbar(const std::string& desktop);
    std::uint32_t getState() override;
    void setState(std::uint32_t state) override;
    void showWindow(bool) override {}

    enum class Desktop { None, Xfce, Plasma };
    Desktop desktop() const { return m_desktop; }

private:
    Desktop m_desktop;
    std::optional<int> m_panel; // the Xfce panel getState found, for the setState after it
};
