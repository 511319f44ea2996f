#pragma once
// An ordered collection of interface records, found by 1-based position.
#include "CInterface.h"

#include <cstdint>
#include <memory>
#include <vector>

class CInterfaces {
public:
    using Ref = std::shared_ptr<CInterface>;

    // Appends the record and clears the caller's reference, so the caller's
    // next use of its variable makes a fresh record.
    Ref Add(Ref& record) {
        Ref added = std::move(record);
        record.reset();
        m_items.push_back(added);
        return added;
    }
    // The record at a 1-based position, or nullptr when there is none.
    Ref Item(std::int32_t position) const {
        if (position < 1 || static_cast<std::size_t>(position) > m_items.size()) {
            return nullptr;
        }
        return m_items[static_cast<std::size_t>(position) - 1];
    }
    std::int32_t Count() const { return static_cast<std::int32_t>(m_items.size()); }
    // Removes the record at a 1-based position; nothing when there is none.
    void Remove(std::int32_t position) {
        if (position >= 1 && static_cast<std::size_t>(position) <= m_items.size()) {
            m_items.erase(m_items.begin() + (position - 1));
        }
    }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<Ref> m_items;
};
