#include "core/PtrVector.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

CPtrVectorUI::CPtrVectorUI(int initialCapacity)
    : m_items(nullptr)
    , m_count(0)
    , m_capacity(0)
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
        std::memcpy(m_items, other.m_items, static_cast<size_t>(other.m_count) * sizeof(void*));
        m_count = other.m_count;
        m_capacity = other.m_capacity;
    }
    return *this;
}

CPtrVectorUI::~CPtrVectorUI() { std::free(m_items); }

bool CPtrVectorUI::Add(void* p)
{
    if (m_count == INT_MAX)
        return false;
    const int count = m_count + 1;
    if (count >= m_capacity) {
        if (m_capacity > INT_MAX / 2)
            return false;
        const int capacity = m_capacity == 0 ? 11 : m_capacity * 2;
        void** items = static_cast<void**>(std::realloc(m_items, static_cast<size_t>(capacity) * sizeof(void*)));
        if (items == nullptr)
            return false;
        m_items = items;
        m_capacity = capacity;
    }
    m_items[m_count] = p;
    m_count = count;
    return true;
}

bool CPtrVectorUI::InsertAt(int index, void* p)
{
    if (index < 0 || index > m_count)
        return false;
    if (!Add(p))
        return false;
    if (index < m_count - 1) {
        std::memmove(m_items + index + 1, m_items + index, static_cast<size_t>(m_count - 1 - index) * sizeof(void*));
        m_items[index] = p;
    }
    return true;
}

bool CPtrVectorUI::SetAt(int index, void* p)
{
    if (index < 0 || index >= m_count)
        return false;
    m_items[index] = p;
    return true;
}

bool CPtrVectorUI::Remove(int index)
{
    if (index < 0 || index >= m_count)
        return false;
    std::memmove(m_items + index, m_items + index + 1, static_cast<size_t>(m_count - 1 - index) * sizeof(void*));
    --m_count;
    return true;
}

int CPtrVectorUI::Find(void* p) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_items[i] == p)
            return i;
    }
    return -1;
}

void* CPtrVectorUI::GetAt(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    return m_items[index];
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
}

void CPtrVectorUI::Clear()
{
    std::free(m_items);
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
}

}  // namespace SkinUI
