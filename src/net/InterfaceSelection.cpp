#include "InterfaceSelection.h"

#include "CInterfaces.h"
#include "CIpHelper.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "platform/ISettingsStore.h"

#include <optional>
#include <string>

namespace {
constexpr std::int32_t kLoopbackType = 24; // IANA ifType softwareLoopback
}

InterfaceSelection::InterfaceSelection(CIpHelper& ipHelper, ISettingsStore& settings, Host& host)
    : m_ipHelper(ipHelper), m_settings(settings), m_host(host) {}

void InterfaceSelection::Build() {
    // One snapshot for the count, then the table is read again per interface,
    // so a table that shrinks meanwhile ends the loop instead of reading past it.
    const std::int32_t count = m_ipHelper.Interfaces()->Count();
    for (std::int32_t i = 1; i <= count; ++i) {
        const auto record = m_ipHelper.Interfaces()->Item(i);
        if (!record) {
            break;
        }
        m_entries.push_back(" " + record->InterfaceDescription);
        m_identities.push_back(record->Id());
        if (static_cast<std::size_t>(i) > m_menu.size()) {
            m_menu.emplace_back();
        }
        MenuItem& item = m_menu[static_cast<std::size_t>(i) - 1];
        item.caption = record->InterfaceDescription;
        item.visible = true;
        item.enabled = true;
    }
    m_host.selectionViewsChanged();
}

std::int32_t InterfaceSelection::savedConnection() {
    const auto saved = ParseInt32(m_settings.get(kAppName, kAppSection, kKeyConnection, "0"));
    return saved.value_or(0);
}

void InterfaceSelection::SelectSaved() {
    if (m_entries.empty()) {
        return;
    }
    // Nothing saved (a first start): position 0 is the loopback interface
    // here, which shows nothing. Watch the interface the user's traffic
    // takes instead.
    if (!m_settings.has(kAppName, kAppSection, kKeyConnection)) {
        SetListIndex(firstStartChoice());
        return;
    }
    // A negative or garbled saved position falls back to the first entry like
    // one that is too large; otherwise nothing would be selected and the
    // monitor would stay idle until the next start.
    const std::int32_t n = savedConnection();
    SetListIndex(n >= 0 && n < ListCount() ? n : 0);
}

std::int32_t InterfaceSelection::firstStartChoice() {
    const auto interfaces = m_ipHelper.Interfaces();
    const std::optional<std::int32_t> route = m_ipHelper.DefaultRouteIndex();
    std::int32_t firstUp = -1;
    for (std::int32_t i = 0; i < interfaces->Count() && i < ListCount(); ++i) {
        const auto record = interfaces->Item(i + 1);
        if (route && record->InterfaceIndex == *route) {
            return i;
        }
        if (firstUp < 0 && record->OperationalStatus > 2 && record->InterfaceType != kLoopbackType) {
            firstUp = i;
        }
    }
    return firstUp >= 0 ? firstUp : 0;
}

void InterfaceSelection::RebuildList() {
    std::optional<CInterface::Identity> watched;
    if (m_listIndex >= 0 && static_cast<std::size_t>(m_listIndex) < m_identities.size()) {
        watched = m_identities[static_cast<std::size_t>(m_listIndex)];
    }
    m_entries.clear();
    m_identities.clear();
    m_listIndex = -1;
    const auto interfaces = m_ipHelper.Interfaces();
    std::int32_t stillThere = -1;
    for (const auto& record : *interfaces) {
        if (watched && record->Is(*watched)) {
            stillThere = ListCount();
        }
        m_entries.push_back(" " + record->InterfaceDescription);
        m_identities.push_back(record->Id());
    }
    m_host.selectionViewsChanged();
    if (stillThere >= 0) {
        SetListIndex(stillThere);
    } else {
        SelectSaved();
    }
}

bool InterfaceSelection::ListMatches(const CInterfaces& interfaces) const {
    if (interfaces.Count() != ListCount()) {
        return false;
    }
    std::size_t i = 0;
    for (const auto& record : interfaces) {
        if (!record->Is(m_identities[i++])) {
            return false;
        }
    }
    return true;
}

void InterfaceSelection::SetListIndex(std::int32_t index) {
    if (index < -1 || index >= ListCount()) {
        return;
    }
    m_listIndex = index;
    cboConnectionType_Click();
}

void InterfaceSelection::cboConnectionType_Click() {
    m_host.clearHistories();
    // Each write replaces the file and waits for the disk: a start that keeps
    // the saved interface writes nothing.
    const std::string connection = std::to_string(m_listIndex);
    if (!m_settings.has(kAppName, kAppSection, kKeyConnection) ||
        m_settings.get(kAppName, kAppSection, kKeyConnection, "") != connection) {
        m_settings.set(kAppName, kAppSection, kKeyConnection, connection);
    }
    m_host.resetTopSpeeds();
    const std::string entry =
        m_listIndex >= 0 ? m_entries[static_cast<std::size_t>(m_listIndex)] : std::string();
    m_listToolTip = entry + " - " + m_host.linkSpeedToolTip();
    mnuNetCard_Click(static_cast<std::int16_t>(m_listIndex));
    m_host.selectionViewsChanged();
}

void InterfaceSelection::mnuNetCard_Click(std::int16_t index) {
    for (MenuItem& item : m_menu) {
        item.checked = false;
    }
    if (index >= 0 && static_cast<std::size_t>(index) < m_menu.size()) {
        m_menu[static_cast<std::size_t>(index)].checked = true;
    }
    if (m_listIndex != index && index >= 0 && index < ListCount()) {
        SetListIndex(index);
    }
    m_host.selectionViewsChanged();
}
