#include "core/NameMap.h"
#include "core/PtrVector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SkinUI::CNameMapUI;
using SkinUI::CPtrVectorUI;

namespace {

void* P(intptr_t n) { return reinterpret_cast<void*>(n); }

std::vector<std::string> Keys(const CNameMapUI& map)
{
    std::vector<std::string> keys;
    for (int i = 0; map.GetKeyAt(i) != nullptr; ++i)
        keys.push_back(map.GetKeyAt(i));
    return keys;
}

}  // namespace

TEST(PtrVector, CapacityGrowsToElevenThenDoubles)
{
    CPtrVectorUI v;
    const int expected[] = {11, 11, 22, 22, 44};  // after Add number 1, 10, 11, 21, 22
    const int adds[] = {1, 10, 11, 21, 22};
    for (int i = 1, check = 0; i <= 22; ++i) {
        ASSERT_TRUE(v.Add(P(i)));
        if (i == adds[check]) {
            EXPECT_EQ(v.GetCapacity(), expected[check]) << "after add " << i;
            ++check;
        }
    }
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(v.GetAt(i), P(i + 1));

    CPtrVectorUI group(6);  // option groups start with six slots
    for (int i = 0; i < 5; ++i)
        group.Add(P(i));
    EXPECT_EQ(group.GetCapacity(), 6);
    group.Add(P(5));
    EXPECT_EQ(group.GetCapacity(), 12);
}

TEST(PtrVector, InsertRemoveResizeAndBounds)
{
    CPtrVectorUI v;
    EXPECT_TRUE(v.InsertAt(0, P(2)));  // at the count: same as Add
    EXPECT_TRUE(v.InsertAt(0, P(1)));
    EXPECT_TRUE(v.InsertAt(2, P(4)));
    EXPECT_TRUE(v.InsertAt(2, P(3)));
    EXPECT_FALSE(v.InsertAt(-1, P(9)));
    EXPECT_FALSE(v.InsertAt(5, P(9)));
    ASSERT_EQ(v.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(v[i], P(i + 1));
    EXPECT_EQ(v.Find(P(3)), 2);
    EXPECT_EQ(v.GetAt(4), nullptr);
    EXPECT_EQ(v.GetAt(-1), nullptr);

    CPtrVectorUI snapshot(v);
    EXPECT_TRUE(v.Remove(1));
    EXPECT_FALSE(v.Remove(3));
    EXPECT_FALSE(v.Remove(-1));
    ASSERT_EQ(v.GetSize(), 3);
    EXPECT_EQ(v[1], P(3));
    EXPECT_EQ(v[2], P(4));
    EXPECT_EQ(snapshot.GetSize(), 4);  // copies do not share slots
    EXPECT_EQ(snapshot[1], P(2));

    v.Resize(3);
    ASSERT_EQ(v.GetSize(), 3);
    EXPECT_EQ(v[0], nullptr);
    v.Add(P(5));
    EXPECT_EQ(v[3], P(5));
    v.Clear();
    EXPECT_EQ(v.GetCapacity(), 0);
    EXPECT_TRUE(v.Add(P(1)));
    EXPECT_EQ(v.GetCapacity(), 11);
}

// Insertions and removals anywhere, in runs and scattered, with copies taken on the way: every
// slot must read what a plain array given the same edits holds (the free slots move with the edits).
TEST(PtrVector, EditsAnywhereKeepTheOrderOfAPlainArray)
{
    struct TCase {
        const char* name;
        int seed;
        int steps;
    } cases[] = {{"short", 1, 40}, {"through growth", 7, 400}, {"long", 12345, 3000}};
    for (const TCase& c : cases) {
        CPtrVectorUI v;
        std::vector<void*> model;
        unsigned state = static_cast<unsigned>(c.seed);
        auto next = [&state](unsigned bound) {
            state = state * 1103515245u + 12345u;
            return bound == 0 ? 0u : (state >> 8) % bound;
        };
        for (int step = 0; step < c.steps; ++step) {
            const int size = static_cast<int>(model.size());
            const unsigned op = next(7);
            if (op < 3 || size == 0) {
                const int at = static_cast<int>(next(static_cast<unsigned>(size) + 1));
                ASSERT_TRUE(v.InsertAt(at, P(step + 1)));
                model.insert(model.begin() + at, P(step + 1));
            } else if (op < 5) {
                const int at = static_cast<int>(next(static_cast<unsigned>(size)));
                ASSERT_TRUE(v.Remove(at));
                model.erase(model.begin() + at);
            } else if (op == 5) {
                const int at = static_cast<int>(next(static_cast<unsigned>(size)));
                const int count = 1 + static_cast<int>(next(static_cast<unsigned>(size - at)));
                ASSERT_TRUE(v.RemoveRange(at, count));
                model.erase(model.begin() + at, model.begin() + at + count);
            } else {
                const int at = static_cast<int>(next(static_cast<unsigned>(size)));
                ASSERT_TRUE(v.SetAt(at, P(-step)));
                model[static_cast<size_t>(at)] = P(-step);
            }
            const CPtrVectorUI copy(v);
            ASSERT_EQ(v.GetSize(), static_cast<int>(model.size())) << c.name << " step " << step;
            EXPECT_GT(v.GetCapacity(), v.GetSize()) << c.name << " step " << step;
            for (size_t i = 0; i < model.size(); ++i) {
                ASSERT_EQ(v.GetAt(static_cast<int>(i)), model[i]) << c.name << " step " << step << " slot " << i;
                ASSERT_EQ(copy.GetAt(static_cast<int>(i)), model[i]) << c.name << " copy, step " << step;
            }
            if (!model.empty())
                EXPECT_EQ(v.Find(model.back()), static_cast<int>(model.size()) - 1) << c.name;
        }
    }
    CPtrVectorUI v;
    for (int i = 0; i < 5; ++i)
        v.Add(P(i + 1));
    EXPECT_FALSE(v.RemoveRange(3, 3));  // reaches past the end: nothing leaves
    EXPECT_FALSE(v.RemoveRange(5, 1));
    EXPECT_FALSE(v.RemoveRange(0, 0));
    EXPECT_FALSE(v.RemoveRange(-1, 2));
    EXPECT_EQ(v.GetSize(), 5);
    EXPECT_TRUE(v.RemoveRange(1, 3));
    ASSERT_EQ(v.GetSize(), 2);
    EXPECT_EQ(v[0], P(1));
    EXPECT_EQ(v[1], P(5));
}

// Written-out values of the hash: bytes taken last to first, each sign-extended.
TEST(NameMapHash, FixedValuesOverSignedBytesLastToFirst)
{
    EXPECT_EQ(CNameMapUI::HashKey(""), 0u);
    EXPECT_EQ(CNameMapUI::HashKey("a"), 97u);
    EXPECT_EQ(CNameMapUI::HashKey("ab"), 98u * 33 + 97);  // not 97 * 33 + 98
    EXPECT_EQ(CNameMapUI::HashKey("\xD6\xD0"), 0xFFFFF9A6u);  // (-48) * 33 + (-42)
    EXPECT_EQ(CNameMapUI::HashKey("\xD6\xD0\xCE\xC4"), 0xFFDE3E38u);
    EXPECT_EQ(CNameMapUI::HashKey("\xD6\xD0\xCE\xC4") % 83, 63u);
}

TEST(NameMap, IterationRunsFromTheLastBucketDown)
{
    CNameMapUI map;
    EXPECT_EQ(map.GetBucketCount(), 83);
    // Buckets: "a" 14, "b" 15, "ab" 11, "ba" 62.
    for (const char* key : {"a", "ab", "b", "ba"})
        ASSERT_TRUE(map.Insert(key, P(1)));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"ba", "b", "a", "ab"}));
    EXPECT_EQ(map.GetKeyAt(4), nullptr);
    EXPECT_EQ(map.GetKeyAt(-1), nullptr);
    EXPECT_EQ(map.GetSize(), 4);
}

TEST(NameMap, NewKeysGoToTheHeadAndHitsMoveToTheFront)
{
    CNameMapUI map;
    // "a", "db" and "eg" all fall into bucket 14.
    map.Insert("a", P(1));
    map.Insert("db", P(2));
    map.Insert("eg", P(3));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"eg", "db", "a"}));

    EXPECT_EQ(map.Find("a", false), P(1));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"eg", "db", "a"}));
    EXPECT_EQ(map.Find("db"), P(2));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"db", "eg", "a"}));

    // A refused insert still counts as a look-up.
    EXPECT_FALSE(map.Insert("a", P(9)));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"a", "db", "eg"}));
    EXPECT_EQ(map.Find("a"), P(1));

    // Set replaces in place without reordering.
    EXPECT_EQ(map.Set("eg", P(4)), P(3));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"a", "db", "eg"}));
    EXPECT_EQ(map.GetAt(2), P(4));

    // Removing from the middle, the head and the tail keeps the chain linked.
    EXPECT_TRUE(map.Remove("db"));
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"a", "eg"}));
    EXPECT_TRUE(map.Remove("a"));
    EXPECT_EQ(map.Find("eg"), P(4));
    EXPECT_TRUE(map.Remove("eg"));
    EXPECT_FALSE(map.Remove("eg"));
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_TRUE(map.Insert("db", P(5)));
    EXPECT_EQ(map.Find("db"), P(5));
}

TEST(NameMap, KeysAreCaseSensitiveAndValuesMayBeNull)
{
    CNameMapUI map;
    EXPECT_TRUE(map.Insert("Button", P(1)));
    EXPECT_TRUE(map.Insert("button", P(2)));
    EXPECT_EQ(map.Find("BUTTON"), nullptr);
    EXPECT_TRUE(map.Insert("empty", nullptr));
    EXPECT_FALSE(map.Insert("empty", P(3)));  // present, even with a null value
    EXPECT_EQ(map.Set("new", P(6)), nullptr);
    EXPECT_EQ(map.Find("new"), P(6));
    const std::string longKey(100, 'k');  // a heap-held key
    EXPECT_TRUE(map.Insert(longKey.c_str(), P(7)));
    EXPECT_EQ(map.Find(longKey.c_str()), P(7));
    EXPECT_EQ(map.GetSize(), 5);
}

TEST(NameMap, ResizeAndMapsWithoutBuckets)
{
    CNameMapUI map;
    map.Insert("x", P(1));
    map.Resize(0);
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.Find("x"), nullptr);
    EXPECT_FALSE(map.Insert("x", P(1)));
    EXPECT_EQ(map.Set("x", P(2)), P(2));
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_FALSE(map.Remove("x"));
    EXPECT_EQ(map.GetKeyAt(0), nullptr);

    map.Resize(5);
    EXPECT_TRUE(map.Insert("x", P(1)));
    map.RemoveAll();
    EXPECT_EQ(map.GetBucketCount(), 5);
    EXPECT_EQ(map.Find("x"), nullptr);
}
