// The selected rows of a list that has too many rows to flag one by one: a sorted set of disjoint,
// non-adjacent index ranges. Selecting or clearing a range costs the ranges it touches, never the
// rows in it, so Shift+End over a million rows is one range.
#pragma once

#include <vector>

namespace SkinUI {

struct TRowRange {
    int first;
    int last;  // inclusive
};

class CRowSelection {
public:
    bool Contains(int index) const;
    bool IsEmpty() const { return m_ranges.empty(); }
    // Selected rows in all, counted over the ranges.
    long long Count() const;
    const std::vector<TRowRange>& Ranges() const { return m_ranges; }

    void Clear() { m_ranges.clear(); }
    // Rows first..last (either order) become selected, merging with touching ranges.
    void Add(int first, int last);
    // Rows first..last (either order) stop being selected, splitting a range that spans them.
    void Remove(int first, int last);
    void Toggle(int index);
    // Drops every row at or beyond `count` (the list shrank).
    void Truncate(int count);

private:
    // The first range whose last row is at or after `index`.
    std::vector<TRowRange>::iterator FirstEndingAtOrAfter(int index);

    std::vector<TRowRange> m_ranges;  // ascending, with a gap of at least one row between ranges
};

}  // namespace SkinUI
