#include "controls/list/RowSelection.h"

#include <algorithm>
#include <climits>

namespace SkinUI {

std::vector<TRowRange>::iterator CRowSelection::FirstEndingAtOrAfter(int index)
{
    return std::lower_bound(
        m_ranges.begin(), m_ranges.end(), index, [](const TRowRange& r, int i) { return r.last < i; });
}

bool CRowSelection::Contains(int index) const
{
    const auto it = std::lower_bound(
        m_ranges.begin(), m_ranges.end(), index, [](const TRowRange& r, int i) { return r.last < i; });
    return it != m_ranges.end() && it->first <= index;
}

long long CRowSelection::Count() const
{
    long long n = 0;
    for (const TRowRange& r : m_ranges)
        n += static_cast<long long>(r.last) - r.first + 1;
    return n;
}

void CRowSelection::Add(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    // Ranges that overlap or touch the new one (end at first - 1 or later, start at last + 1 or
    // earlier) are merged into it.
    auto begin = FirstEndingAtOrAfter(first > 0 ? first - 1 : first);
    auto end = begin;
    while (end != m_ranges.end() && (last == INT_MAX || end->first <= last + 1)) {
        first = std::min(first, end->first);
        last = std::max(last, end->last);
        ++end;
    }
    begin = m_ranges.erase(begin, end);
    m_ranges.insert(begin, TRowRange{first, last});
}

void CRowSelection::Remove(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    auto it = FirstEndingAtOrAfter(first);
    while (it != m_ranges.end() && it->first <= last) {
        if (it->first < first && it->last > last) {
            // The removed rows lie inside this range: it splits in two.
            const TRowRange tail{last + 1, it->last};
            it->last = first - 1;
            m_ranges.insert(it + 1, tail);
            return;
        }
        if (it->first < first) {
            it->last = first - 1;
            ++it;
        } else if (it->last > last) {
            it->first = last + 1;
            return;
        } else {
            it = m_ranges.erase(it);
        }
    }
}

void CRowSelection::Toggle(int index)
{
    if (Contains(index))
        Remove(index, index);
    else
        Add(index, index);
}

void CRowSelection::Truncate(int count)
{
    if (count <= 0) {
        m_ranges.clear();
        return;
    }
    Remove(count, INT_MAX);
}

}  // namespace SkinUI
