// CPtrVectorUI: a growable array of untyped pointers.
//
// The array never owns what its slots point at: owners delete the pointees before Clear. Growth
// is fixed (capacity 11, then doubling, always kept above the count) because listener lists and
// child lists are small and this keeps reallocation rare. Copying copies the slots, which lets a
// caller walk a snapshot while the original changes under it.
//
// The free slots form one gap that moves to where the array changes, so insertions and removals
// cost the distance from the previous change rather than the length of the tail: a long child
// list emptied row by row, front to back, moves each pointer once.
#pragma once

namespace SkinUI {

class CPtrVectorUI {
public:
    // A positive capacity allocates that many slots at once.
    explicit CPtrVectorUI(int initialCapacity = 0);
    CPtrVectorUI(const CPtrVectorUI& other);
    CPtrVectorUI& operator=(const CPtrVectorUI& other);
    ~CPtrVectorUI();

    // Both return false, leaving the array unchanged, when memory runs out or the index is outside
    // 0..count.
    bool Add(void* p);
    bool InsertAt(int index, void* p);
    // Replaces the pointer at index; false outside 0..count-1.
    bool SetAt(int index, void* p);
    // False outside 0..count-1.
    bool Remove(int index);
    // Removes `count` slots from `first` on; false unless all of them lie inside 0..count-1.
    bool RemoveRange(int first, int count);
    // First index holding p, or -1.
    int Find(void* p) const;
    // Null outside 0..count-1.
    void* GetAt(int index) const;
    void* operator[](int index) const { return GetAt(index); }
    int GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    int GetCapacity() const { return m_capacity; }
    // Drops the old block; n null slots, count n (n <= 0 empties).
    void Resize(int n);
    // Frees the block; count and capacity 0.
    void Clear();

private:
    // Where slot `index` lies in the block: the gap's free slots are skipped.
    int Slot(int index) const { return index < m_gap ? index : index + (m_capacity - m_count); }
    int GapEnd() const { return m_gap + (m_capacity - m_count); }
    // Moves the gap to start before slot `index`.
    void MoveGap(int index);
    // At least one free slot beyond the one an insertion takes; false when memory runs out.
    bool MakeRoom();

    void** m_items;  // heap block of m_capacity slots, or null
    int m_count;
    int m_capacity;
    int m_gap;  // the free slots start here, m_capacity - m_count of them
};

}  // namespace SkinUI
