// The web browser control hosted for real (the system's browser object, which creates and
// activates here but renders nothing) and with the test control DLL standing in for it; the event
// sink, command target and service provider driven directly.
#include <gtest/gtest.h>

#include <mshtmhst.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/TestControlBed.h"
#include "controls/com/ActiveXWnd.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/com/WebBrowser.h"

using namespace SkinUI;
using testbed::ComScope;
using testbed::HostBed;
using testbed::Probe;
using testbed::TestControl;

namespace {

class RecordingHandler : public IWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) override
    {
        calls.push_back("before " + Narrow(url));
    }
    void NavigateComplete2(IDispatch*, VARIANT* url) override { calls.push_back("complete " + Narrow(url)); }
    void CommandStateChange(LONG command, VARIANT_BOOL enable) override
    {
        calls.push_back("command " + std::to_string(command) + " " + std::to_string(enable));
    }
    std::vector<std::string> calls;

private:
    static std::string Narrow(const VARIANT* v)
    {
        std::string out;
        if (v == nullptr || V_VT(v) != VT_BSTR)
            return out;
        for (const wchar_t* p = V_BSTR(v); p != nullptr && *p != L'\0'; ++p)
            out += static_cast<char>(*p);
        return out;
    }
};

struct WebTree {
    CVerticalLayoutUI* root;
    CWebBrowserUI* web;
};

WebTree AttachBrowser(HostBed& bed)
{
    auto* root = new CVerticalLayoutUI;
    root->AddChild(new Probe("above", 150, 30));
    auto* web = new CWebBrowserUI;
    web->SetFixedWidth(150);
    web->SetFixedHeight(100);
    root->AddChild(web);
    bed.Attach(root);
    return WebTree{root, web};
}

const GUID kScriptGroup = {0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};

RECT ClientRectOf(HWND child, HWND parent)
{
    RECT r = {};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The shared count of the control's COM sides (what the browser and its documents hold).
ULONG SideReferences(CWebBrowserUI* web)
{
    const ULONG held = web->AddRef();
    web->Release();
    return held - 1;
}

}  // namespace

TEST(WebBrowser, SystemBrowserIsHostedSizedSubscribedAndReleased)
{
    ComScope com;
    HostBed bed(200, 150);
    WebTree tree = AttachBrowser(bed);
    ASSERT_NE(tree.web->GetBrowser(), nullptr) << "the system browser object did not create";
#ifndef NDEBUG
    EXPECT_EQ(CActiveXWnd::LiveInstances(), 1);
#endif
    const HWND window = tree.web->GetHostWindow();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(::GetParent(window), bed.Hwnd());
    EXPECT_TRUE(testbed::RectIs(ClientRectOf(window, bed.Hwnd()), 0, 30, 150, 130));
    EXPECT_GE(SideReferences(tree.web), 1u);  // the event connection holds the sink

    tree.web->SetPosition(CRectUI(10, 40, 190, 140));
    EXPECT_TRUE(testbed::RectIs(ClientRectOf(window, bed.Hwnd()), 10, 40, 190, 140));

    RecordingHandler handler;
    tree.web->SetEventHandler(&handler);
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "axpage.html";
    FILE* page = std::fopen(path.c_str(), "wb");
    ASSERT_NE(page, nullptr);
    std::fputs("<html><body>page</body></html>", page);
    std::fclose(page);
    std::string url = "file:///" + path;
    for (char& c : url)
        c = c == '\\' ? '/' : c;
    tree.web->Navigate(url.c_str());
    testbed::PumpUntil([&] { return !handler.calls.empty(); }, 2000);
    // Nothing renders here, but the browser announces the navigation to the sink.
    ASSERT_FALSE(handler.calls.empty());
    EXPECT_EQ(handler.calls.front().rfind("before ", 0), 0u) << handler.calls.front();
    EXPECT_NE(handler.calls.front().find("axpage.html"), std::string::npos) << handler.calls.front();

    // Released explicitly: every reference the browser held on the control's sides comes back.
    tree.web->ReleaseObject();
    EXPECT_EQ(SideReferences(tree.web), 0u);
    EXPECT_EQ(tree.web->GetBrowser(), nullptr);
#ifndef NDEBUG
    EXPECT_EQ(CActiveXWnd::LiveInstances(), 0);
#endif
    tree.root->RemoveChild(tree.web);
    bed.Pump();
    ::DeleteFileA(path.c_str());
}

// Turning delayed creation off before the class id creates twice; the first object is closed and
// released completely, and destroying the control releases the second.
TEST(WebBrowser, RecreationLeavesOneObjectAndDestructionNone)
{
    ComScope com;
    TestControl ctl;
    ASSERT_TRUE(ctl.Loaded());
    {
        HostBed bed;
        CControlUI* web = testbed::BuildTestControl(bed, "WebBrowser", testctl::kWindowedClsid);
        ASSERT_NE(web, nullptr);
        testbed::ExpectSecondObjectReplacedTheFirst(ctl.State());
#ifndef NDEBUG
        EXPECT_EQ(CActiveXWnd::LiveInstances(), 1);
#endif
        delete web;
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
#ifndef NDEBUG
    EXPECT_EQ(CActiveXWnd::LiveInstances(), 0);
#endif
}

// Navigation events: arguments checked before the handler sees them; the fixed answers without one.
TEST(WebBrowser, EventSinkChecksArgumentsAndAnswersUnknownEvents)
{
    ComScope com;
    HostBed bed(200, 150);
    WebTree tree = AttachBrowser(bed);
    ASSERT_NE(tree.web->GetBrowser(), nullptr);
    CWebBrowserUI* web = tree.web;
    VARIANT url;
    ::VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = ::SysAllocString(L"about:blank");
    VARIANT complete[2];  // reverse order: URL by reference, then the browser
    V_VT(&complete[0]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&complete[0]) = &url;
    V_VT(&complete[1]) = VT_DISPATCH;
    V_DISPATCH(&complete[1]) = nullptr;
    VARIANT command[2];
    V_VT(&command[0]) = VT_BSTR;  // "enable" of the wrong type
    V_BSTR(&command[0]) = nullptr;
    V_VT(&command[1]) = VT_I4;
    V_I4(&command[1]) = 1;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    DISPPARAMS completeArgs = {complete, nullptr, 2, 0};
    DISPPARAMS commandArgs = {command, nullptr, 2, 0};

    const GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(web->Invoke(252, other, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(web->Invoke(999, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(web->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);  // no handler

    RecordingHandler handler;
    web->SetEventHandler(&handler);
    const struct {
        DISPID id;
        DISPPARAMS* params;
        HRESULT expected;
    } cases[] = {
        {102, &none, S_OK}, {252, &none, DISP_E_BADPARAMCOUNT}, {252, nullptr, DISP_E_BADPARAMCOUNT},
        {250, &completeArgs, DISP_E_BADPARAMCOUNT}, {271, &none, DISP_E_BADPARAMCOUNT},
        {273, &commandArgs, DISP_E_BADPARAMCOUNT}, {105, &commandArgs, DISP_E_TYPEMISMATCH},
        {252, &completeArgs, S_OK},  // before any navigation the browser has no document
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(web->Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, c.params, nullptr, nullptr, nullptr), c.expected);
    }
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0], "complete about:blank");
    ::VariantClear(&url);
    web->SetEventHandler(nullptr);
}

// The control's COM identity, its command target and its service provider.
TEST(WebBrowser, CommandTargetAndServicesKeepTheComContract)
{
    CWebBrowserUI web;
    IUnknown* first = nullptr;
    IUnknown* second = nullptr;
    IOleCommandTarget* target = nullptr;
    ASSERT_EQ(web.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&first)), S_OK);
    ASSERT_EQ(web.QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)), S_OK);
    ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, static_cast<IDocHostUIHandler*>(&web));
    first->Release();
    second->Release();

    VARIANT out;
    ::VariantInit(&out);
    VARIANT empty;
    ::VariantInit(&empty);
    VARIANT notADocument;
    V_VT(&notADocument) = VT_UNKNOWN;
    V_UNKNOWN(&notADocument) = first;  // answers no document interface
    const GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    const struct {
        const GUID* group;
        DWORD command;
        VARIANT* in;
        VARIANT* out;
        HRESULT expected;
    } cases[] = {
        {nullptr, OLECMDID_SHOWSCRIPTERROR, &notADocument, &out, OLECMDERR_E_UNKNOWNGROUP},
        {&other, OLECMDID_SHOWSCRIPTERROR, &notADocument, &out, OLECMDERR_E_UNKNOWNGROUP},
        {&kScriptGroup, OLECMDID_PRINT, &notADocument, &out, OLECMDERR_E_NOTSUPPORTED},
        {&kScriptGroup, OLECMDID_SHOWSCRIPTERROR, nullptr, &out, E_INVALIDARG},
        {&kScriptGroup, OLECMDID_SHOWSCRIPTERROR, &empty, &out, E_INVALIDARG},
        {&kScriptGroup, OLECMDID_SHOWSCRIPTERROR, &notADocument, nullptr, E_POINTER},
        {&kScriptGroup, OLECMDID_SHOWSCRIPTERROR, &notADocument, &out, S_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        EXPECT_EQ(web.Exec(c.group, c.command, 0, c.in, c.out), c.expected);
    }
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);  // keep running scripts, show no dialog
    target->Release();

    const IID downloads = {0x988934A4, 0x064B, 0x11D3, {0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9}};
    void* service = &web;
    EXPECT_EQ(web.QueryService(downloads, downloads, nullptr), E_POINTER);
    EXPECT_EQ(web.QueryService(other, downloads, &service), E_NOINTERFACE);
    EXPECT_EQ(service, nullptr);
    ASSERT_EQ(web.QueryService(downloads, downloads, &service), S_OK);
    EXPECT_EQ(
        static_cast<IDownloadManager*>(service)->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), S_OK);
    static_cast<IDownloadManager*>(service)->Release();
    EXPECT_EQ(SideReferences(&web), 0u);

    MSG key = {nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    MSG move = {nullptr, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    EXPECT_EQ(web.Translate(&move), S_FALSE);
    EXPECT_EQ(web.Translate(&key), E_NOTIMPL);  // no browser
}
