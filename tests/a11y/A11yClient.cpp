// A screen reader's view of another program, for the end-to-end tests: it finds a top-level
// window by its title and reads it only through MSAA, from this separate process.
//
//   quoril-a11y-client tree TITLE            the accessible tree of the window's client area
//   quoril-a11y-client tab TITLE COUNT       presses Tab COUNT times in the window and prints, for
//                                            each press, the focus event an out-of-context hook
//                                            heard and the object it names
//   quoril-a11y-client do TITLE NAME         runs the default action of the first object named
//                                            NAME (UTF-8), then waits for the window to settle
//
// Output is UTF-8, one object per line (support/AccessibleDump.h). Exit code 0 on success, 1 when
// the window or the object cannot be found, 2 on a usage error.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/AccessibleDump.h"

namespace {

std::wstring Wide(const char* utf8)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
    out.resize(out.size() - 1);
    return out;
}

HWND FindByTitle(const char* title)
{
    const std::wstring wide = Wide(title);
    for (int i = 0; i < 100; ++i) {
        HWND window = ::FindWindowW(nullptr, wide.c_str());
        if (window != nullptr)
            return window;
        ::Sleep(100);
    }
    return nullptr;
}

// Lets the other program handle what was sent to it, while this thread takes its own messages
// (out-of-context WinEvents arrive as messages).
void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::vector<std::string> g_focusLines;

void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    IAccessible* object = nullptr;
    VARIANT child;
    ::VariantInit(&child);
    if (FAILED(::AccessibleObjectFromEvent(hwnd, idObject, idChild, &object, &child)) || object == nullptr) {
        g_focusLines.push_back("focus: (no object)");
        return;
    }
    g_focusLines.push_back("focus: " + testbed::DescribeObject(object, child.vt == VT_I4 ? child.lVal : CHILDID_SELF));
    object->Release();
}

int Tab(HWND window, int count)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    const HWINEVENTHOOK hook = ::SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, process, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr)
        return 1;
    for (int i = 0; i < count; ++i) {
        const size_t before = g_focusLines.size();
        // Posted, so it goes through the program's own message loop and its Tab handling.
        ::PostMessageW(window, WM_KEYDOWN, VK_TAB, 0x000F0001);
        ::PostMessageW(window, WM_KEYUP, VK_TAB, 0xC00F0001);
        for (int wait = 0; wait < 100 && g_focusLines.size() == before; ++wait)
            PumpFor(30);
        PumpFor(100);
        if (g_focusLines.size() == before)
            g_focusLines.push_back("focus: (no event)");
    }
    ::UnhookWinEvent(hook);
    for (const std::string& line : g_focusLines)
        std::printf("%s\n", line.c_str());
    return 0;
}

// Depth-first search for the first object whose name is `name`; the caller releases it.
IAccessible* FindNamed(IAccessible* object, const std::string& name, int depth)
{
    if (depth > 32)
        return nullptr;
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0)
        return nullptr;
    count = count > 1000 ? 1000 : count;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long obtained = 0;
    if (FAILED(::AccessibleChildren(object, 0, count, children.data(), &obtained)))
        return nullptr;
    IAccessible* found = nullptr;
    for (long i = 0; i < obtained; ++i) {
        IAccessible* sub = nullptr;
        if (found == nullptr && children[static_cast<size_t>(i)].vt == VT_DISPATCH
            && SUCCEEDED(children[static_cast<size_t>(i)].pdispVal->QueryInterface(
                IID_IAccessible, reinterpret_cast<void**>(&sub)))) {
            VARIANT self;
            ::VariantInit(&self);
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR text = nullptr;
            sub->get_accName(self, &text);
            const bool match = testbed::Utf8(text) == name;
            ::SysFreeString(text);
            if (match) {
                found = sub;
                sub = nullptr;
            } else {
                found = FindNamed(sub, name, depth + 1);
            }
            if (sub != nullptr)
                sub->Release();
        }
        ::VariantClear(&children[static_cast<size_t>(i)]);
    }
    return found;
}

int Usage()
{
    std::fprintf(stderr, "usage: quoril-a11y-client tree TITLE | tab TITLE COUNT | do TITLE NAME\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    ::CoInitialize(nullptr);
    const HWND window = FindByTitle(argv[2]);
    if (window == nullptr) {
        std::fprintf(stderr, "no window titled %s\n", argv[2]);
        return 1;
    }
    if (command == "tab" && argc == 4)
        return Tab(window, std::atoi(argv[3]));
    IAccessible* client = testbed::ClientObject(window);
    if (client == nullptr) {
        std::fprintf(stderr, "the window answers no accessible object\n");
        return 1;
    }
    int status = 0;
    if (command == "tree") {
        std::fputs(testbed::DumpTree(client).c_str(), stdout);
    } else if (command == "do" && argc == 4) {
        IAccessible* target = FindNamed(client, argv[3], 0);
        if (target == nullptr) {
            std::fprintf(stderr, "no object named %s\n", argv[3]);
            status = 1;
        } else {
            VARIANT self;
            ::VariantInit(&self);
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            status = SUCCEEDED(target->accDoDefaultAction(self)) ? 0 : 1;
            target->Release();
            PumpFor(1500);
        }
    } else {
        status = Usage();
    }
    client->Release();
    ::CoUninitialize();
    return status;
}
