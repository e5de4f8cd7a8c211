// Attribute tables: the names one class reads from skin text, each with the code that applies it.
//
// A table is both the dispatch (SetAttribute and the builder look names up in it) and the list of
// names accepted, so the skin author's reference can be checked against what the code really
// reads and cannot drift from it. A handler is a captureless lambda written inside a member of the
// class it serves, so it may reach that class's private members; it gets the target and the value
// exactly as the caller passed it (null included).
//
// Look-up is a linear scan, as the if-chains it replaces were: tables hold a few dozen names.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

namespace SkinUI {

// Names appended by the enumerators; they point at string literals and are never freed.
using TAttributeNames = std::vector<const char*>;

template <class T, class Result = void> struct TAttributeHandler {
    const char* Name;
    Result (*Apply)(T& target, const char* value);
};

// A view of a static array of handlers; the array outlives every table made from it.
template <class T, class Result = void> class CAttributeTable {
public:
    using Entry = TAttributeHandler<T, Result>;

    template <size_t N>
    constexpr CAttributeTable(const Entry (&entries)[N])  // NOLINT: implicit on purpose
        : m_entries(entries)
        , m_count(N)
    {
    }

    // The entry for `name`; null for an unknown or null name.
    const Entry* Find(const char* name) const
    {
        if (name == nullptr)
            return nullptr;
        for (size_t i = 0; i < m_count; ++i) {
            if (std::strcmp(m_entries[i].Name, name) == 0)
                return &m_entries[i];
        }
        return nullptr;
    }

    // Applies `name` when the table has it; false, doing nothing, otherwise.
    bool Apply(T& target, const char* name, const char* value) const
    {
        const Entry* entry = Find(name);
        if (entry == nullptr)
            return false;
        entry->Apply(target, value);
        return true;
    }

    // A class's SetAttribute: its own names here, every other name to the class it derives from.
    template <class Base> void ApplyOrBase(T& target, const char* name, const char* value) const
    {
        if (!Apply(target, name, value))
            target.Base::SetAttribute(name, value);
    }

    const Entry* begin() const { return m_entries; }
    const Entry* end() const { return m_entries + m_count; }

    void AppendNames(TAttributeNames& names) const
    {
        for (size_t i = 0; i < m_count; ++i)
            names.push_back(m_entries[i].Name);
    }

    // A class's AppendAttributeNames: its own names, then those of the class it derives from.
    template <class Base> void AppendWithBase(TAttributeNames& names) const
    {
        AppendNames(names);
        Base::AppendAttributeNames(names);
    }

private:
    const Entry* m_entries;
    size_t m_count;
};

}  // namespace SkinUI
