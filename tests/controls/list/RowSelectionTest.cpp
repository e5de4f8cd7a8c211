// Selected rows kept as index ranges: each step's ranges after adding, removing, toggling and
// truncating, including ranges that touch, split, and reach the ends of the int range.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "controls/list/RowSelection.h"

using namespace SkinUI;

namespace {

std::string Text(const CRowSelection& s)
{
    std::string out;
    for (const TRowRange& r : s.Ranges())
        out += (out.empty() ? "" : ",") + std::to_string(r.first) + "-" + std::to_string(r.last);
    return out;
}

enum Op { Add, Remove, Toggle, Truncate };

struct Step {
    Op op;
    int a;
    int b;
    const char* ranges;
};

}  // namespace

TEST(RowSelection, RangesAfterEachStep)
{
    const Step steps[] = {
        {Add, 5, 9, "5-9"},
        {Add, 12, 10, "5-12"},  // reversed, and touching the end: one range
        {Add, 20, 20, "5-12,20-20"},
        {Add, 14, 18, "5-12,14-18,20-20"},
        {Add, 19, 19, "5-12,14-20"},  // fills the gap between two ranges
        {Add, 0, 30, "0-30"},  // swallows every range
        {Remove, 10, 12, "0-9,13-30"},  // splits
        {Remove, 0, 0, "1-9,13-30"},
        {Remove, 8, 14, "1-7,15-30"},  // ends of two ranges
        {Toggle, 8, 0, "1-8,15-30"},
        {Toggle, 1, 0, "2-8,15-30"},
        {Toggle, 20, 0, "2-8,15-19,21-30"},
        {Remove, 100, 200, "2-8,15-19,21-30"},  // nothing there
        {Truncate, 18, 0, "2-8,15-17"},
        {Add, 1000000, INT_MAX, "2-8,15-17,1000000-2147483647"},
        {Add, 999999, 999999, "2-8,15-17,999999-2147483647"},
        {Truncate, 1000001, 0, "2-8,15-17,999999-1000000"},
        {Truncate, 0, 0, ""},
    };
    CRowSelection s;
    for (const Step& step : steps) {
        switch (step.op) {
        case Add:
            s.Add(step.a, step.b);
            break;
        case Remove:
            s.Remove(step.a, step.b);
            break;
        case Toggle:
            s.Toggle(step.a);
            break;
        case Truncate:
            s.Truncate(step.a);
            break;
        }
        EXPECT_EQ(Text(s), step.ranges) << "after op " << step.op << " " << step.a << "," << step.b;
    }
}

TEST(RowSelection, ContainsAndCountOverAMillionRows)
{
    CRowSelection s;
    s.Add(0, 999999);
    s.Remove(500000, 500009);
    const struct {
        int index;
        bool selected;
    } probes[] = {{-1, false}, {0, true}, {499999, true}, {500000, false}, {500009, false}, {500010, true},
        {999999, true}, {1000000, false}};
    for (const auto& p : probes)
        EXPECT_EQ(s.Contains(p.index), p.selected) << p.index;
    EXPECT_EQ(s.Count(), 999990);
    EXPECT_EQ(s.Ranges().size(), 2u);
}
