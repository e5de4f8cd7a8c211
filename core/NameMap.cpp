#include "core/NameMap.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CNameMapUI::CNameMapUI(int bucketCount)
    : m_buckets(nullptr)
    , m_bucketCount(0)
    , m_count(0)
{
    Resize(bucketCount);
}

CNameMapUI::~CNameMapUI() { DeleteAll(); }

unsigned int CNameMapUI::HashKey(const char* key)
{
    unsigned int h = 0;
    if (key == nullptr)
        return h;
    // The order (last byte first) and the sign extension of bytes 0x80-0xFF are part of the
    // contract: they decide the iteration order every map user sees.
    for (size_t i = std::strlen(key); i > 0; --i) {
        const int c = static_cast<signed char>(key[i - 1]);
        h = h * 33u + static_cast<unsigned int>(c);
    }
    return h;
}

CNameMapUI::TItem* CNameMapUI::FindItem(const char* key) const
{
    if (m_bucketCount == 0 || key == nullptr)
        return nullptr;
    TItem* item = m_buckets[HashKey(key) % static_cast<unsigned int>(m_bucketCount)];
    while (item != nullptr && item->key != key)
        item = item->next;
    return item;
}

void CNameMapUI::Unlink(TItem* item) const
{
    if (item->prev != nullptr)
        item->prev->next = item->next;
    else
        m_buckets[HashKey(item->key) % static_cast<unsigned int>(m_bucketCount)] = item->next;
    if (item->next != nullptr)
        item->next->prev = item->prev;
    item->prev = item->next = nullptr;
}

void CNameMapUI::LinkHead(TItem* item) const
{
    TItem*& head = m_buckets[HashKey(item->key) % static_cast<unsigned int>(m_bucketCount)];
    item->prev = nullptr;
    item->next = head;
    if (head != nullptr)
        head->prev = item;
    head = item;
}

void CNameMapUI::MoveToFront(TItem* item) const
{
    if (item->prev != nullptr) {
        Unlink(item);
        LinkHead(item);
    }
}

void* CNameMapUI::Find(const char* key, bool moveToFront) const
{
    TItem* item = FindItem(key);
    if (item == nullptr)
        return nullptr;
    if (moveToFront)
        MoveToFront(item);
    return item->value;
}

bool CNameMapUI::Insert(const char* key, void* value)
{
    if (m_bucketCount == 0 || key == nullptr)
        return false;
    TItem* existing = FindItem(key);
    if (existing != nullptr) {
        MoveToFront(existing);
        return false;
    }
    TItem* item = new TItem{CUIString(key), value, nullptr, nullptr};
    LinkHead(item);
    ++m_count;
    return true;
}

void* CNameMapUI::Set(const char* key, void* value)
{
    if (m_bucketCount == 0 || key == nullptr)
        return value;
    TItem* item = FindItem(key);
    if (item == nullptr) {
        Insert(key, value);
        return nullptr;
    }
    void* old = item->value;
    item->value = value;
    return old;
}

bool CNameMapUI::Remove(const char* key)
{
    TItem* item = FindItem(key);
    if (item == nullptr)
        return false;
    Unlink(item);
    delete item;
    --m_count;
    return true;
}

void CNameMapUI::DeleteAll()
{
    for (int b = m_bucketCount - 1; b >= 0; --b) {
        TItem* item = m_buckets[b];
        while (item != nullptr) {
            TItem* next = item->next;
            delete item;
            item = next;
        }
    }
    delete[] m_buckets;
    m_buckets = nullptr;
    m_bucketCount = 0;
    m_count = 0;
}

void CNameMapUI::Resize(int bucketCount)
{
    DeleteAll();
    if (bucketCount <= 0)
        return;
    m_buckets = new TItem*[bucketCount]();
    m_bucketCount = bucketCount;
}

const CNameMapUI::TItem* CNameMapUI::ItemAt(int index) const
{
    if (index < 0)
        return nullptr;
    for (int b = m_bucketCount - 1; b >= 0; --b) {
        for (const TItem* item = m_buckets[b]; item != nullptr; item = item->next) {
            if (index-- == 0)
                return item;
        }
    }
    return nullptr;
}

const char* CNameMapUI::GetKeyAt(int index) const
{
    const TItem* item = ItemAt(index);
    return item != nullptr ? item->key.GetData() : nullptr;
}

void* CNameMapUI::GetAt(int index) const
{
    const TItem* item = ItemAt(index);
    return item != nullptr ? item->value : nullptr;
}

}  // namespace SkinUI
