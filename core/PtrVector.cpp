#include "core/PtrVector.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

CPtrVectorUI::CPtrVectorUI(int initialCapacity)
    : m_items(nullptr)
    , m_count(0)
    , m_capacity(0)
    , m_gap(0)
{
    if (initialCapacity > 0) {
        m_items = static_cast<void**>(std::calloc(static_cast<size_t>(initialCapacity), sizeof(void*)));
        if (m_items != nullptr)
            m_capacity = initialCapacity;
    }
}

CPtrVectorUI::CPtrVectorUI(const CPtrVectorUI& other)
    : m_items(nullptr)
    , m_count(0)
    , m_capacity(0)
    , m_gap(0)
{
    *this = other;
}

CPtrVectorUI& CPtrVectorUI::operator=(const CPtrVectorUI& other)
{
    if (this == &other)
        return *this;
    Clear();
    if (other.m_capacity > 0) {
        m_items = static_cast<void**>(std::malloc(static_cast<size_t>(other.m_capacity) * sizeof(void*)));
        if (m_items == nullptr)
            return *this;
        // The copy is packed: its free slots all lie at the end.
        std::memcpy(m_items, other.m_items, static_cast<size_t>(other.m_gap) * sizeof(void*));
        std::memcpy(m_items + other.m_gap, other.m_items + other.GapEnd(),
            static_cast<size_t>(other.m_count - other.m_gap) * sizeof(void*));
        m_count = other.m_count;
        m_capacity = other.m_capacity;
        m_gap = m_count;
    }
    return *this;
}

CPtrVectorUI::~CPtrVectorUI() { std::free(m_items); }

void CPtrVectorUI::MoveGap(int index)
{
    const int end = GapEnd();
    if (index < m_gap) {
        const int moved = m_gap - index;
        std::memmove(m_items + end - moved, m_items + index, static_cast<size_t>(moved) * sizeof(void*));
    } else if (index > m_gap) {
        const int moved = index - m_gap;
        std::memmove(m_items + m_gap, m_items + end, static_cast<size_t>(moved) * sizeof(void*));
    }
    m_gap = index;
}

bool CPtrVectorUI::MakeRoom()
{
    if (m_count == INT_MAX)
        return false;
    if (m_count + 1 < m_capacity)
        return true;
    if (m_capacity > INT_MAX / 2)
        return false;
    const int capacity = m_capacity == 0 ? 11 : m_capacity * 2;
    // Packed first, so the block grows at its free end.
    MoveGap(m_count);
    void** items = static_cast<void**>(std::realloc(m_items, static_cast<size_t>(capacity) * sizeof(void*)));
    if (items == nullptr)
        return false;
    m_items = items;
    m_capacity = capacity;
    return true;
}

bool CPtrVectorUI::Add(void* p) { return InsertAt(m_count, p); }

bool CPtrVectorUI::InsertAt(int index, void* p)
{
    if (index < 0 || index > m_count)
        return false;
    if (!MakeRoom())
        return false;
    MoveGap(index);
    m_items[m_gap++] = p;
    ++m_count;
    return true;
}

bool CPtrVectorUI::SetAt(int index, void* p)
{
    if (index < 0 || index >= m_count)
        return false;
    m_items[Slot(index)] = p;
    return true;
}

bool CPtrVectorUI::Remove(int index) { return RemoveRange(index, 1); }

bool CPtrVectorUI::RemoveRange(int first, int count)
{
    if (first < 0 || count <= 0 || first >= m_count || count > m_count - first)
        return false;
    MoveGap(first);
    m_count -= count;
    return true;
}

int CPtrVectorUI::Find(void* p) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_items[Slot(i)] == p)
            return i;
    }
    return -1;
}

void* CPtrVectorUI::GetAt(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    return m_items[Slot(index)];
}

void CPtrVectorUI::Resize(int n)
{
    Clear();
    if (n <= 0)
        return;
    m_items = static_cast<void**>(std::calloc(static_cast<size_t>(n), sizeof(void*)));
    if (m_items == nullptr)
        return;
    m_count = n;
    m_capacity = n;
    m_gap = n;
}

void CPtrVectorUI::Clear()
{
    std::free(m_items);
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
    m_gap = 0;
}

}  // namespace SkinUI
