// A screen reader's view of another program, for the end-to-end tests: it finds a top-level
// window by its title and reads it only through MSAA, from this separate process.
//
//   quoril-a11y-client tree TITLE            the accessible tree of the window's client area
//   quoril-a11y-client tab TITLE MAX         presses Tab in the window until the focus is back on
//                                            the object the first press reached (at most MAX
//                                            presses) and prints the focus events an
//                                            out-of-context hook heard and the objects they name
//   quoril-a11y-client do TITLE NAME [ROLE]  runs the default action of the first object named
//                                            NAME (UTF-8), of that role word when given, then
//                                            waits for the window to settle
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

// What names an object in a focus line: its role and name, not its state of the moment.
std::string Identity(const std::string& line) { return line.substr(0, line.find(" [")); }

// One Tab, posted so it goes through the program's own message loop and its Tab handling; with
// `ctrl`, Ctrl is down in the program's key state meanwhile (the two threads share their input
// state for it). True when a focus event came.
bool PressTab(HWND window, bool ctrl)
{
    const size_t before = g_focusLines.size();
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    const bool attached = ctrl && ::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE);
    BYTE keys[256] = {};
    if (attached) {
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
    }
    ::PostMessageW(window, WM_KEYDOWN, VK_TAB, 0x000F0001);
    ::PostMessageW(window, WM_KEYUP, VK_TAB, 0xC00F0001);
    for (int wait = 0; wait < 100 && g_focusLines.size() == before; ++wait)
        PumpFor(30);
    PumpFor(100);
    if (attached) {
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        ::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
    }
    return g_focusLines.size() != before;
}

int Tab(HWND window, int most)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    const HWINEVENTHOOK hook = ::SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, process, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) {
        std::fprintf(stderr, "focus events could not be hooked (error %lu)\n", ::GetLastError());
        return 1;
    }
    std::string first;
    bool left = false;
    for (int i = 0; i < most; ++i) {
        size_t reached = g_focusLines.size();
        // A control that keeps Tab for itself (an editor) is left with Ctrl+Tab, as a user would.
        if (!PressTab(window, false)) {
            g_focusLines.push_back("(Tab kept by the control: Ctrl+Tab)");
            reached = g_focusLines.size();
            if (!PressTab(window, true))
                g_focusLines.push_back("focus: (no event)");
        }
        // Round once: the press that brings the focus back to the first object, after it had left
        // it, ends the walk (a tree row is reached once for each of its parts).
        const std::string now = Identity(g_focusLines[reached]);
        if (i == 0)
            first = now;
        else if (now == first && left)
            break;
        left = left || now != first;
    }
    ::UnhookWinEvent(hook);
    for (const std::string& line : g_focusLines)
        std::printf("%s\n", line.c_str());
    return 0;
}

// Depth-first search for the first object whose name is `name` (and whose role word is `role`,
// unless that is empty); the caller releases it.
IAccessible* FindNamed(IAccessible* object, const std::string& name, const std::string& role, int depth)
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
            VARIANT roleOf;
            ::VariantInit(&roleOf);
            sub->get_accRole(self, &roleOf);
            const bool match = testbed::Utf8(text) == name
                && (role.empty() || (roleOf.vt == VT_I4 && testbed::RoleWord(roleOf.lVal) == role));
            ::SysFreeString(text);
            if (match) {
                found = sub;
                sub = nullptr;
            } else {
                found = FindNamed(sub, name, role, depth + 1);
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
    std::fprintf(stderr, "usage: quoril-a11y-client tree TITLE | tab TITLE MAX | do TITLE NAME [ROLE]\n");
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
    } else if (command == "do" && (argc == 4 || argc == 5)) {
        IAccessible* target = FindNamed(client, argv[3], argc == 5 ? argv[4] : "", 0);
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
