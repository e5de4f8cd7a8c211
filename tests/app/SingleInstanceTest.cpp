// One copy at a time: the name is held for a copy's whole life, and a later copy finds the window.
#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kTestName[] = "Local\\Quoril.SingleInstance.Test";

}  // namespace

TEST(SingleInstance, OnlyTheFirstHolderRunsUntilItEnds)
{
    auto first = std::make_unique<Quoril::CSingleInstance>(kTestName);
    EXPECT_TRUE(first->IsFirst());
    {
        const Quoril::CSingleInstance second(kTestName);
        EXPECT_FALSE(second.IsFirst());
        // A third while the second still exists: still not first.
        const Quoril::CSingleInstance third(kTestName);
        EXPECT_FALSE(third.IsFirst());
    }
    const Quoril::CSingleInstance other("Local\\Quoril.SingleInstance.Other");
    EXPECT_TRUE(other.IsFirst()) << "another name is another lock";
    first.reset();
    const Quoril::CSingleInstance after(kTestName);
    EXPECT_TRUE(after.IsFirst());

    // A name that cannot be a mutex (an event holds it) cannot tell: never counted as first.
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "Local\\Quoril.SingleInstance.Event");
    ASSERT_NE(event, nullptr);
    const Quoril::CSingleInstance squatted("Local\\Quoril.SingleInstance.Event");
    EXPECT_FALSE(squatted.IsFirst());
    CloseHandle(event);
}

TEST(SingleInstance, TheRunningWindowComesBackToTheFront)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorilSingleInstanceTest";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    EXPECT_FALSE(Quoril::BringRunningWindowToFront("QuorilSingleInstanceTest", "Quoril", 100)) << "none yet";

    HWND window = CreateWindowExA(0, "QuorilSingleInstanceTest", "Quoril", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
        100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    EXPECT_FALSE(Quoril::BringRunningWindowToFront("QuorilSingleInstanceTest", "Other", 0)) << "title must match";
    EXPECT_TRUE(Quoril::BringRunningWindowToFront("QuorilSingleInstanceTest", "Quoril", 0));
    EXPECT_FALSE(IsIconic(window));
    DestroyWindow(window);
    UnregisterClassA("QuorilSingleInstanceTest", windowClass.hInstance);
}
