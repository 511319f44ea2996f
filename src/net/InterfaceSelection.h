#pragma once
// The choice of the watched interface: the interface list and the Network
// Card menu, kept in step, with the position saved as "Connection".
#include "CInterface.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CInterfaces;
class CIpHelper;
class ISettingsStore;

class InterfaceSelection {
public:
    // What the selection needs from the window around it.
    class Host {
    public:
        virtual ~Host() = default;
        // Empties both traffic histories.
        virtual void clearHistories() = 0;
        // The reset timer's operation: clears the top speeds.
        virtual void resetTopSpeeds() = 0;
        // The link speed tooltip of the last sample ("Speed: ..."), or "".
        virtual std::string linkSpeedToolTip() = 0;
        // The list, the menu or the tooltip changed: redraw them.
        virtual void selectionViewsChanged() = 0;
    };

    struct MenuItem {
        std::string caption;
        bool visible = true;
        bool enabled = true;
        bool checked = false;
    };

    InterfaceSelection(CIpHelper& ipHelper, ISettingsStore& settings, Host& host);

    // Fills the list and the menu from the table, one entry per interface.
    void Build();
    // Selects the entry saved as "Connection", or entry 0 when it is out of
    // range. With nothing saved: the interface of the default route, else the
    // first one up that is not a loopback, else entry 0.
    void SelectSaved();
    // Refills the list only (the menu keeps its items). The interface watched
    // before stays selected while it exists; otherwise the saved entry is.
    void RebuildList();
    // True when the list shows exactly the interfaces of the table, in its
    // order (by index and name): false after one came, went or was renamed.
    bool ListMatches(const CInterfaces& interfaces) const;

    // Sets the list's selected position and runs the selection handler.
    void SetListIndex(std::int32_t index);
    // The list's selection handler.
    void cboConnectionType_Click();
    // The Network Card menu command for item index.
    void mnuNetCard_Click(std::int16_t index);

    const std::vector<std::string>& ListEntries() const { return m_entries; }
    std::int32_t ListIndex() const { return m_listIndex; }
    std::int32_t ListCount() const { return static_cast<std::int32_t>(m_entries.size()); }
    const std::string& ListToolTip() const { return m_listToolTip; }
    const std::vector<MenuItem>& MenuItems() const { return m_menu; }

private:
    std::int32_t savedConnection();
    std::int32_t firstStartChoice();

    CIpHelper& m_ipHelper;
    ISettingsStore& m_settings;
    Host& m_host;
    std::vector<std::string> m_entries;
    // The interface behind each entry: index and name.
    std::vector<CInterface::Identity> m_identities;
    std::int32_t m_listIndex = -1;
    std::string m_listToolTip;
    std::vector<MenuItem> m_menu{MenuItem{"<none>", true, false, false}};
};
