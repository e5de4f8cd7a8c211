// CNameMapUI: a text-keyed hash map of untyped pointers (control names, images, fonts, default
// attribute lists, option groups).
//
// Separate chaining in a fixed number of buckets (83 for every map of the framework) with a fixed
// hash, so iteration order is reproducible: buckets from the last to the first, each chain from
// head to tail. A successful Find moves the hit to the head of its chain so names looked up
// repeatedly stay cheap. Keys compare case-sensitively. The map never owns the values: owners
// free them (walking GetAt/GetKeyAt) before clearing or destroying the map.
#pragma once

#include "core/UIString.h"

namespace SkinUI {

class CNameMapUI {
public:
    static const int kDefaultBuckets = 83;

    explicit CNameMapUI(int bucketCount = kDefaultBuckets);
    ~CNameMapUI();
    CNameMapUI(const CNameMapUI&) = delete;
    CNameMapUI& operator=(const CNameMapUI&) = delete;

    // Sum over the key's bytes, last to first, each read as a signed 8-bit value: h = h * 33 + c.
    static unsigned int HashKey(const char* key);

    // Null when absent (or when the map has no buckets). A hit moves to the front of its chain
    // unless moveToFront is false.
    void* Find(const char* key, bool moveToFront = true) const;
    // False when the key exists (its item then moves to the front) or the map has no buckets;
    // otherwise the new item becomes the head of its chain.
    bool Insert(const char* key, void* value);
    // Replaces and returns the old value of an existing key (no reordering); otherwise inserts and
    // returns null. A map without buckets stores nothing and returns value itself.
    void* Set(const char* key, void* value);
    bool Remove(const char* key);
    // Deletes every item and allocates bucketCount empty chains (none for 0).
    void Resize(int bucketCount = kDefaultBuckets);
    // Deletes every item, keeping the bucket count.
    void RemoveAll() { Resize(m_bucketCount); }

    int GetSize() const { return m_count; }
    int GetBucketCount() const { return m_bucketCount; }
    // Key / value of the index-th item in iteration order; null past the end.
    const char* GetKeyAt(int index) const;
    void* GetAt(int index) const;

private:
    struct TItem {
        CUIString key;
        void* value;
        TItem* prev;
        TItem* next;
    };

    const TItem* ItemAt(int index) const;
    TItem* FindItem(const char* key) const;
    void Unlink(TItem* item) const;
    void LinkHead(TItem* item) const;
    void MoveToFront(TItem* item) const;
    void DeleteAll();

    // Chain heads; mutable because a look-up reorders its chain.
    mutable TItem** m_buckets;  // heap array of m_bucketCount heads, or null
    int m_bucketCount;
    int m_count;
};

}  // namespace SkinUI
