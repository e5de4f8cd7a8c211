#include "core/Delegate.h"

#include <gtest/gtest.h>

#include <string>

using SkinUI::CDelegate;
using SkinUI::CDelegateBase;
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

// A delegate type that counts its live copies, to see the source delete what it holds.
class CCountingDelegate : public CDelegateBase {
public:
    explicit CCountingDelegate(int* live)
        : CDelegateBase(live, &kFunction, sizeof(kFunction))
        , m_live(live)
    {
        ++*m_live;
    }
    CCountingDelegate(const CCountingDelegate& other)
        : CDelegateBase(other)
        , m_live(other.m_live)
    {
        ++*m_live;
    }
    ~CCountingDelegate() override { --*m_live; }
    CDelegateBase* Copy() const override { return new CCountingDelegate(*this); }
    bool Invoke(void*) override { return true; }

private:
    static constexpr int kFunction = 7;
    int* m_live;
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

TEST(EventSource, OwnsItsCopiesAndDeletesThem)
{
    int live = 0;
    {
        CCountingDelegate original(&live);
        CEventSourceUI source;
        source.AddListener(original);
        source.AddListener(original);  // equal: no second copy
        EXPECT_EQ(live, 2);
    }
    EXPECT_EQ(live, 0);
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
