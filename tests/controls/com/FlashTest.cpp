// The Flash control with the test control DLL standing in as the player: the event connection,
// the events reaching the handler with their arguments checked, re-creation and tear-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/TestControlBed.h"
#include "controls/com/Flash.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;

namespace {

using Flash = testbed::TestControlTest;

class RecordingHandler : public IFlashEventHandler {
public:
    ULONG Release() override { return static_cast<ULONG>(++releases); }
    ULONG AddRef() override { return 2; }
    HRESULT OnReadyStateChange(LONG state) override { return Record("ready " + std::to_string(state)); }
    HRESULT OnProgress(LONG percent) override { return Record("progress " + std::to_string(percent)); }
    HRESULT OnFSCommand(const wchar_t* command, const wchar_t* args) override
    {
        return Record("fscommand " + Narrow(command) + " " + Narrow(args));
    }
    HRESULT OnFlashCall(const wchar_t* request) override { return Record("flashcall " + Narrow(request)); }

    std::vector<std::string> calls;
    int releases = 0;

private:
    HRESULT Record(const std::string& call)
    {
        calls.push_back(call);
        return S_FALSE;  // something other than S_OK, to see it returned
    }
    static std::string Narrow(const wchar_t* text)
    {
        std::string out;
        for (; text != nullptr && *text != L'\0'; ++text)
            out += static_cast<char>(*text);
        return out;
    }
};

// Arguments in the order of the call; the array holds them in reverse, as the platform passes them.
struct Args {
    Args() = default;
    Args(const Args&) = delete;
    Args& operator=(const Args&) = delete;

    std::vector<VARIANT> values;
    DISPPARAMS params = {};
    LONG percent = 0;

    Args& Int(LONG v)
    {
        VARIANT x;
        ::VariantInit(&x);
        V_VT(&x) = VT_I4;
        V_I4(&x) = v;
        return Push(x);
    }
    Args& IntRef(LONG v)
    {
        percent = v;
        VARIANT x;
        ::VariantInit(&x);
        V_VT(&x) = VT_I4 | VT_BYREF;
        V_I4REF(&x) = &percent;
        return Push(x);
    }
    Args& Text(const wchar_t* v)
    {
        VARIANT x;
        ::VariantInit(&x);
        V_VT(&x) = VT_BSTR;
        V_BSTR(&x) = ::SysAllocString(v);
        return Push(x);
    }
    Args& Push(const VARIANT& x)
    {
        values.insert(values.begin(), x);
        return *this;
    }
    DISPPARAMS* Params()
    {
        params.cArgs = static_cast<UINT>(values.size());
        params.rgvarg = values.empty() ? nullptr : values.data();
        return &params;
    }
    ~Args()
    {
        for (VARIANT& v : values)
            ::VariantClear(&v);
    }
};

CFlashUI* AttachFlash(HostBed& bed)
{
    auto* root = new CVerticalLayoutUI;
    auto* flash = new CFlashUI;
    flash->SetAttribute("modulename", "testctl.dll");
    flash->SetFixedHeight(60);
    root->AddChild(flash);
    bed.Attach(root);
    return flash;
}

}  // namespace

TEST_F(Flash, PlayerEventsReachTheHandlerThroughTheConnection)
{
    RecordingHandler handler;
    {
        HostBed bed;
        CFlashUI* flash = AttachFlash(bed);
        ASSERT_NE(flash->GetPlayer(), nullptr);
        EXPECT_EQ(ctl.State().advisedSinks, 1);
        EXPECT_EQ(ctl.Fire(-609, Args().Int(4).Params()), S_OK);  // no handler yet: dropped
        flash->SetEventHandler(&handler);

        EXPECT_EQ(ctl.Fire(-609, Args().Int(3).Params()), S_FALSE);
        EXPECT_EQ(ctl.Fire(1958, Args().IntRef(42).Params()), S_FALSE);
        EXPECT_EQ(ctl.Fire(150, Args().Text(L"quit").Text(L"now").Params()), S_FALSE);
        EXPECT_EQ(ctl.Fire(197, Args().Text(L"<invoke/>").Params()), S_FALSE);
        EXPECT_EQ(ctl.Fire(12345, Args().Params()), S_OK);
        const std::vector<std::string> expected
            = {"ready 3", "progress 42", "fscommand quit now", "flashcall <invoke/>"};
        EXPECT_EQ(handler.calls, expected);
    }
    EXPECT_EQ(handler.releases, 1);
    EXPECT_EQ(ctl.State().advisedSinks, 0);
    EXPECT_EQ(ctl.State().liveObjects, 0);
}

// Arguments the player hands over are checked before they are read.
TEST_F(Flash, MalformedEventArgumentsAreRefused)
{
    RecordingHandler handler;
    CFlashUI flash;
    flash.SetEventHandler(&handler);
    const struct {
        DISPID id;
        void (*fill)(Args&);
        HRESULT expected;
    } cases[] = {
        {-609, [](Args&) {}, DISP_E_BADPARAMCOUNT},
        {-609, [](Args& a) { a.Text(L"3"); }, DISP_E_TYPEMISMATCH},
        {1958, [](Args& a) { a.Int(42); }, DISP_E_TYPEMISMATCH},  // by reference only
        {1958, [](Args& a) { a.IntRef(1).IntRef(2); }, DISP_E_BADPARAMCOUNT},
        {150, [](Args& a) { a.Text(L"quit"); }, DISP_E_BADPARAMCOUNT},
        {150, [](Args& a) { a.Text(L"quit").Int(1); }, DISP_E_TYPEMISMATCH},
        {197, [](Args& a) { a.Int(1); }, E_INVALIDARG},
        {197, [](Args&) {}, E_INVALIDARG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        Args args;
        c.fill(args);
        EXPECT_EQ(
            flash.Invoke(c.id, IID_NULL, 0, DISPATCH_METHOD, args.Params(), nullptr, nullptr, nullptr), c.expected);
    }
    EXPECT_EQ(
        flash.Invoke(150, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(handler.calls.empty());

    MSG key = {nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    MSG move = {nullptr, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    EXPECT_EQ(flash.Translate(&move), S_FALSE);
    EXPECT_EQ(flash.Translate(&key), E_NOTIMPL);  // no player
}

// A second class id replaces the first object completely: closed, released, unsubscribed.
TEST_F(Flash, RecreationReleasesTheFirstPlayer)
{
    {
        HostBed bed;
        CControlUI* flash = testbed::BuildTestControl(bed, "Flash", testctl::kWindowlessClsid);
        ASSERT_NE(flash, nullptr);
        testbed::ExpectSecondObjectReplacedTheFirst(ctl.State());
        EXPECT_EQ(ctl.State().advisedSinks, 1);
        MSG key = {bed.Hwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        ::SetFocus(nullptr);
        EXPECT_EQ(ControlCast<CFlashUI>(flash)->Translate(&key), S_FALSE);  // focus elsewhere
        delete flash;
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
    EXPECT_EQ(ctl.State().advisedSinks, 0);
}
