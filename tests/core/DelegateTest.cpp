#include "core/Delegate.h"

#include <gtest/gtest.h>

#include <string>

using SkinUI::CDelegate;
using SkinUI::CEventSourceUI;
using SkinUI::MakeDelegate;

namespace {

struct TRecorder {
    std::string* log;
    char tag;
    bool answer;
    bool OnEvent(void* param)
    {
        *log += tag;
        *log += *static_cast<const char*>(param);
        return answer;
    }
    bool OnOther(void*)
    {
        *log += '!';
        return true;
    }
};

struct TDerivedRecorder : TRecorder { };

// Destroys the source it listens to, as a listener deleting its control does.
struct TDestroyer {
    CEventSourceUI* source;
    int* calls;
    bool OnEvent(void*)
    {
        ++*calls;
        delete source;
        return true;
    }
};

// Fires the source again from inside a Fire, then destroys it from the inner run.
struct TNestedDestroyer {
    CEventSourceUI* source;
    int* calls;
    bool OnEvent(void*)
    {
        if (++*calls == 1)
            return source->Fire(nullptr);
        delete source;
        return true;
    }
};

// Adds another listener from inside a Fire.
struct TGrower {
    CEventSourceUI* source;
    TRecorder* late;
    bool OnEvent(void*)
    {
        source->AddListener(MakeDelegate(late, &TRecorder::OnEvent));
        return true;
    }
};

}  // namespace

TEST(EventSource, FiresInInsertionOrderAndStopsAtFalse)
{
    std::string log;
    TRecorder a{&log, 'a', true}, b{&log, 'b', false}, c{&log, 'c', true};
    CEventSourceUI source;
    EXPECT_FALSE(source.HasListeners());
    EXPECT_TRUE(source.Fire(nullptr));

    source += MakeDelegate(&a, &TRecorder::OnEvent);
    source += MakeDelegate(&b, &TRecorder::OnEvent);
    source += MakeDelegate(&c, &TRecorder::OnEvent);
    EXPECT_TRUE(source.HasListeners());
    char param = '1';
    EXPECT_FALSE(source.Fire(&param));
    EXPECT_EQ(log, "a1b1");

    b.answer = true;
    log.clear();
    EXPECT_TRUE(source(&param));
    EXPECT_EQ(log, "a1b1c1");
}

TEST(EventSource, EqualDelegatesAreKeptOnce)
{
    std::string log;
    TRecorder a{&log, 'a', true}, b{&log, 'b', true};
    CEventSourceUI source;
    source.AddListener(MakeDelegate(&a, &TRecorder::OnEvent));
    source.AddListener(CDelegate<TRecorder, TRecorder>(&a, &TRecorder::OnEvent));
    source.AddListener(MakeDelegate(&a, &TRecorder::OnOther));  // same object, other function
    source.AddListener(MakeDelegate(&b, &TRecorder::OnEvent));  // same function, other object
    // A member of a base class bound to a derived object.
    TDerivedRecorder d;
    d.log = &log;
    d.tag = 'd';
    d.answer = true;
    source.AddListener(CDelegate<TDerivedRecorder, TRecorder>(&d, &TRecorder::OnEvent));
    char param = '.';
    EXPECT_TRUE(source.Fire(&param));
    EXPECT_EQ(log, "a.!b.d.");
}

TEST(EventSource, ListenersAddedDuringFireRunInTheSameFire)
{
    std::string log;
    CEventSourceUI source;
    TRecorder late{&log, 'z', true};
    TGrower grower{&source, &late};
    // Enough listeners that the late addition reallocates the slot block.
    TRecorder filler[10] = {};
    for (TRecorder& f : filler) {
        f = TRecorder{&log, 'f', true};
        source += MakeDelegate(&f, &TRecorder::OnEvent);
    }
    source += MakeDelegate(&grower, &TGrower::OnEvent);
    char param = '-';
    EXPECT_TRUE(source.Fire(&param));
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += "f-";
    EXPECT_EQ(log, expected + "z-");
}

TEST(EventSource, ListenerThatDestroysTheSourceEndsEveryRunningFire)
{
    std::string log;
    TRecorder after{&log, 'x', true};
    struct TCase {
        const char* what;
        bool nested;
        int expectedCalls;
    };
    const TCase cases[] = {
        {"destroyed by the first listener", false, 1},
        {"destroyed inside a nested fire of the same source", true, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        int calls = 0;
        CEventSourceUI* source = new CEventSourceUI;
        TDestroyer destroyer{source, &calls};
        TNestedDestroyer nested{source, &calls};
        if (c.nested)
            *source += MakeDelegate(&nested, &TNestedDestroyer::OnEvent);
        else
            *source += MakeDelegate(&destroyer, &TDestroyer::OnEvent);
        // Listed after the destroyer: it must never hear of the run, nor may the run read the
        // freed list to find it.
        *source += MakeDelegate(&after, &TRecorder::OnEvent);
        char param = '1';
        EXPECT_FALSE(source->Fire(&param));
        EXPECT_EQ(calls, c.expectedCalls);
        EXPECT_EQ(log, "");
    }
}
