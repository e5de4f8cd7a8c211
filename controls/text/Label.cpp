#include "controls/text/Label.h"

#include <string>

#include "controls/base/CastChain.h"
#include "core/CodePage.h"
#include "core/SystemLibrary.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"
#include "window/WindowWnd.h"

namespace SkinUI {

//--- GDI+ loaded at run time ----------------------------------------------------------------------
//
// The flat API is declared here with our own minimal types: only what the effect text needs.
// Loading only from the system folder keeps a planted gdiplus.dll next to the program out.

namespace {

struct TGdipStartupInput {
    UINT32 version;
    void* debugCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
struct TGdipRectF {
    float x, y, width, height;
};
struct TGdipPoint {
    INT x, y;
};
typedef int GpStatus;  // 0 = Ok
struct GpGraphics;
struct GpFont;
struct GpStringFormat;
struct GpBrush;

class CGdiPlus {
public:
    typedef GpStatus(WINAPI* Startup)(ULONG_PTR*, const TGdipStartupInput*, void*);
    typedef void(WINAPI* Shutdown)(ULONG_PTR);
    typedef GpStatus(WINAPI* CreateFromHDC)(HDC, GpGraphics**);
    typedef GpStatus(WINAPI* DeleteGraphics)(GpGraphics*);
    typedef GpStatus(WINAPI* SetTextRenderingHint)(GpGraphics*, int);
    typedef GpStatus(WINAPI* CreateFontFromLogfontA)(HDC, const LOGFONTA*, GpFont**);
    typedef GpStatus(WINAPI* CreateFontFromDC)(HDC, GpFont**);
    typedef GpStatus(WINAPI* DeleteFont)(GpFont*);
    typedef GpStatus(WINAPI* CreateStringFormat)(INT, LANGID, GpStringFormat**);
    typedef GpStatus(WINAPI* SetStringFormatAlign)(GpStringFormat*, int);
    typedef GpStatus(WINAPI* DeleteStringFormat)(GpStringFormat*);
    typedef GpStatus(WINAPI* CreateLineBrushI)(const TGdipPoint*, const TGdipPoint*, DWORD, DWORD, int, GpBrush**);
    typedef GpStatus(WINAPI* DeleteBrush)(GpBrush*);
    typedef GpStatus(WINAPI* DrawString)(
        GpGraphics*, const WCHAR*, INT, const GpFont*, const TGdipRectF*, const GpStringFormat*, const GpBrush*);

    Startup startup = nullptr;
    Shutdown shutdown = nullptr;
    CreateFromHDC createFromHdc = nullptr;
    DeleteGraphics deleteGraphics = nullptr;
    SetTextRenderingHint setTextRenderingHint = nullptr;
    CreateFontFromLogfontA createFontFromLogfont = nullptr;
    CreateFontFromDC createFontFromDc = nullptr;
    DeleteFont deleteFont = nullptr;
    CreateStringFormat createStringFormat = nullptr;
    SetStringFormatAlign setStringFormatAlign = nullptr;
    SetStringFormatAlign setStringFormatLineAlign = nullptr;
    DeleteStringFormat deleteStringFormat = nullptr;
    CreateLineBrushI createLineBrush = nullptr;
    DeleteBrush deleteBrush = nullptr;
    DrawString drawString = nullptr;

    // The process-wide instance; loads the library on first use.
    static CGdiPlus& Instance()
    {
        static CGdiPlus instance;
        return instance;
    }
    bool IsLoaded() const { return m_loaded; }

    // Reference-counted session: started by the first label that paints effect text, shut down
    // when the last such label goes.
    bool Acquire()
    {
        if (!m_loaded)
            return false;
        if (m_sessions == 0) {
            TGdipStartupInput input = {1, nullptr, FALSE, FALSE};
            if (startup(&m_token, &input, nullptr) != 0)
                return false;
        }
        ++m_sessions;
        return true;
    }
    void Release()
    {
        if (m_sessions > 0 && --m_sessions == 0)
            shutdown(m_token);
    }

private:
    CGdiPlus()
    {
        HMODULE module = LoadSystemLibrary("gdiplus.dll");
        if (!module)
            return;
        m_loaded = Resolve(module, "GdiplusStartup", startup) && Resolve(module, "GdiplusShutdown", shutdown)
            && Resolve(module, "GdipCreateFromHDC", createFromHdc)
            && Resolve(module, "GdipDeleteGraphics", deleteGraphics)
            && Resolve(module, "GdipSetTextRenderingHint", setTextRenderingHint)
            && Resolve(module, "GdipCreateFontFromLogfontA", createFontFromLogfont)
            && Resolve(module, "GdipCreateFontFromDC", createFontFromDc)
            && Resolve(module, "GdipDeleteFont", deleteFont)
            && Resolve(module, "GdipCreateStringFormat", createStringFormat)
            && Resolve(module, "GdipSetStringFormatAlign", setStringFormatAlign)
            && Resolve(module, "GdipSetStringFormatLineAlign", setStringFormatLineAlign)
            && Resolve(module, "GdipDeleteStringFormat", deleteStringFormat)
            && Resolve(module, "GdipCreateLineBrushI", createLineBrush)
            && Resolve(module, "GdipDeleteBrush", deleteBrush) && Resolve(module, "GdipDrawString", drawString);
        // The module stays loaded for the life of the process: sessions may outlive any one label.
    }

    template <class F> static bool Resolve(HMODULE module, const char* name, F& function)
    {
        FARPROC p = ::GetProcAddress(module, name);
        function = reinterpret_cast<F>(reinterpret_cast<void*>(p));
        return p != nullptr;
    }

    bool m_loaded = false;
    ULONG_PTR m_token = 0;
    int m_sessions = 0;
};

DWORD WithAlpha(int alpha, DWORD rgb) { return (static_cast<DWORD>(alpha & 0xFF) << 24) | (rgb & 0x00FFFFFF); }

}  // namespace

//--- label ---------------------------------------------------------------------------------------

CLabelUI::CLabelUI() = default;

CLabelUI::~CLabelUI()
{
    if (m_holdsEffectSession)
        CGdiPlus::Instance().Release();
}

const char* CLabelUI::GetTypeName() const { return "LabelUI"; }

void* CLabelUI::CastTo(const char* name) { return CastToSelfOrBase<CControlUI>(this, name); }

bool CLabelUI::IsEffectRendererAvailable() { return CGdiPlus::Instance().IsLoaded(); }

CUIString CLabelUI::GetText() const
{
    const TEffectFields& effect = m_effect.Get();
    return effect.enabledEffect ? effect.effectText : CControlUI::GetText();
}

void CLabelUI::SetText(const char* text)
{
    if (m_effect.Get().enabledEffect) {
        m_effect.Edit().effectText = text;
        NoteChangeToParent();
    } else
        CControlUI::SetText(text);
}

void CLabelUI::SetTextColor(DWORD color)
{
    m_textColor = color;
    Invalidate();
}

void CLabelUI::OnEvent(TInputEvent& event)
{
    if (event.Type == InputEventKind::FocusGained)
        m_focused = true;
    else if (event.Type == InputEventKind::FocusLost)
        m_focused = false;
    else
        CControlUI::OnEvent(event);
}

void CLabelUI::CloseOverlayIfUnusable(CWindowWnd* overlay)
{
    if (overlay == nullptr || (IsVisible() && IsEnabled()) || m_host == nullptr)
        return;
    if (m_host->GetFocusControl() == this)
        m_host->SetFocusControl(nullptr);  // the window closes at its focus loss
    else if (!overlay->ClosePosted())
        overlay->PostClose(0);
}

bool CLabelUI::HandleOverlayEvent(TInputEvent& event, bool open)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CLabelUI::OnEvent(e); }))
        return true;
    switch (event.Type) {
    case InputEventKind::SetCursor:
        if (!IsEnabled())
            return false;
        ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        return true;
    case InputEventKind::WindowSize: {
        if (!open || m_host == nullptr)
            return false;
        // The native window closes on the focus loss and opens again, at the new place, when the
        // focus comes back after the next layout. Dropping the focus sends "killfocus", whose
        // listeners may end this control.
        CControlAliveGuard alive(m_host, this);
        m_host->ScheduleFocus(this);
        return !alive.IsAlive();
    }
    case InputEventKind::ScrollWheel:
        return open;
    default:
        return false;
    }
}

CSizeUI CLabelUI::MeasureOneLine(int extra)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    if (fixed.cy != 0)
        return fixed;
    int lineHeight = m_host ? m_host->GetFontEntry(m_fontIndex)->metrics.tmHeight : 0;
    return CSizeUI(fixed.cx, lineHeight + Scaled(extra));
}

CSizeUI CLabelUI::MeasureSize(CSizeUI /*available*/) { return MeasureOneLine(4); }

void CLabelUI::SetShadowOffset(int distance, int angle)
{
    if (angle < -180 || angle > 180)
        return;
    // Only the eight neighbouring directions exist; angles pick one by these ranges.
    float d = static_cast<float>(distance);
    TEffectFields& effect = m_effect.Edit();
    if (angle >= 0)
        effect.shadowOffsetX = -d;
    else if (angle > -180)
        effect.shadowOffsetX = d;
    else
        effect.shadowOffsetX = 0.0f;
    if (angle >= -89 && angle <= 90)
        effect.shadowOffsetY = -d;
    else if (angle == -90)
        effect.shadowOffsetY = 0.0f;
    else
        effect.shadowOffsetY = d;
}

CAttributeTable<CLabelUI> CLabelUI::OwnAttributes()
{
    using C = CLabelUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"align",
            [](C& c, const char* value) {
                CUIString v(value);
                if (v.Find("left") >= 0)
                    c.m_textStyle &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
                if (v.Find("center") >= 0) {
                    c.m_textStyle &= ~DT_RIGHT;
                    c.m_textStyle |= DT_CENTER;
                }
                if (v.Find("right") >= 0) {
                    c.m_textStyle &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                    c.m_textStyle |= DT_RIGHT;
                }
                if (v.Find("top") >= 0) {
                    c.m_textStyle &= ~(DT_BOTTOM | DT_VCENTER);
                    c.m_textStyle |= DT_SINGLELINE;
                }
                if (v.Find("vcenter") >= 0) {
                    c.m_textStyle &= ~DT_BOTTOM;
                    c.m_textStyle |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
                }
                if (v.Find("bottom") >= 0) {
                    c.m_textStyle &= ~DT_VCENTER;
                    c.m_textStyle |= DT_BOTTOM | DT_SINGLELINE;
                }
            }},
        {"endellipsis", [](C& c, const char* v) { c.m_textStyle = ApplyFlagBit(c.m_textStyle, DT_END_ELLIPSIS, v); }},
        {"font",
            [](C& c, const char* v) {
                c.m_fontIndex = ParseInt(v);
                c.Invalidate();
            }},
        {"textcolor", [](C& c, const char* v) { c.SetTextColor(ParseColor(v)); }},
        {"disabledtextcolor",
            [](C& c, const char* v) {
                c.m_disabledTextColor = ParseColor(v);
                c.Invalidate();
            }},
        {"textpadding",
            [](C& c, const char* v) {
                c.m_textPadding = ParseRect(v);
                c.Invalidate();
            }},
        {"showhtml",
            [](C& c, const char* v) {
                bool show = ParseFlag(v);
                if (show != c.m_showHtml) {
                    c.m_showHtml = show;
                    c.Invalidate();
                }
            }},
        {"enabledeffect", [](C& c, const char* v) { c.m_effect.Edit().enabledEffect = ParseFlag(v); }},
        {"enabledstroke", [](C& c, const char* v) { c.m_effect.Edit().enabledStroke = ParseFlag(v); }},
        {"enabledshadow", [](C& c, const char* v) { c.m_effect.Edit().enabledShadow = ParseFlag(v); }},
        {"rhaa", [](C& c, const char* v) { c.SetRenderingHint(ParseInt(v)); }},
        {"transshadow", [](C& c, const char* v) { c.m_effect.Edit().transShadow = ParseInt(v); }},
        {"transtext", [](C& c, const char* v) { c.m_effect.Edit().transText = ParseInt(v); }},
        {"transshadow1", [](C& c, const char* v) { c.m_effect.Edit().transShadow1 = ParseInt(v); }},
        {"transtext1", [](C& c, const char* v) { c.m_effect.Edit().transText1 = ParseInt(v); }},
        {"gradientangle", [](C& c, const char* v) { c.m_effect.Edit().gradientAngle = ParseInt(v); }},
        {"transstroke", [](C& c, const char* v) { c.m_effect.Edit().transStroke = ParseInt(v); }},
        {"gradientlength", [](C& c, const char* v) { c.m_effect.Edit().gradientLength = ParseInt(v); }},
        {"shadowoffset",
            [](C& c, const char* value) {
                int v[2];
                ParseIntList(value, v, 2);
                c.SetShadowOffset(v[0], v[1]);
            }},
        {"textcolor1", [](C& c, const char* v) { c.m_effect.Edit().textColor1 = ParseColor(v); }},
        {"textshadowcolora", [](C& c, const char* v) { c.m_effect.Edit().textShadowColorA = ParseColor(v); }},
        {"textshadowcolorb", [](C& c, const char* v) { c.m_effect.Edit().textShadowColorB = ParseColor(v); }},
        {"strokecolor", [](C& c, const char* v) { c.m_effect.Edit().strokeColor = ParseColor(v); }},
    };
    return kTable;
}

void CLabelUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CControlUI>(*this, name, value);
}

void CLabelUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CControlUI>(names); }

//--- painting ------------------------------------------------------------------------------------

void CLabelUI::ResolveDefaultColors()
{
    if (!m_host)
        return;
    if (m_textColor == 0)
        m_textColor = m_host->GetDefaultFontColor();
    if (m_disabledTextColor == 0)
        m_disabledTextColor = m_host->GetDefaultDisabledColor();
}

CRectUI CLabelUI::TextRect() const
{
    const CRectUI padding = Scaled(m_textPadding);
    return CRectUI(m_position.left + padding.left, m_position.top + padding.top, m_position.right - padding.right,
        m_position.bottom - padding.bottom);
}

void CLabelUI::PaintText(HDC hdc)
{
    ResolveDefaultColors();
    CRectUI r = TextRect();
    const TEffectFields& effect = m_effect.Get();
    const CUIString& text = effect.enabledEffect ? effect.effectText : m_text;
    if (text.IsEmpty())
        return;
    if (effect.enabledEffect && PaintEffectText(hdc, r))
        return;
    // Without GDI+ the effect text still shows, plainly.
    const UINT style = m_textStyle | DT_SINGLELINE;
    if (m_showHtml) {
        int links = 0;
        CRenderKit::PaintMarkupText(hdc, m_host, r, text, CurrentTextColor(), nullptr, nullptr, links, style);
    } else {
        CRenderKit::PaintPlainText(hdc, m_host, r, text, CurrentTextColor(), m_fontIndex, style);
    }
}

bool CLabelUI::PaintEffectText(HDC hdc, const CRectUI& r)
{
    const TEffectFields& effect = m_effect.Get();
    CGdiPlus& gdip = CGdiPlus::Instance();
    if (!m_holdsEffectSession) {
        if (!gdip.Acquire())
            return false;
        m_holdsEffectSession = true;
    }
    std::wstring wide;
    if (!WideFromCodePage(effect.effectText.GetData(), CP_ACP, wide) || wide.empty())
        return true;
    const INT chars = static_cast<INT>(wide.size());

    GpGraphics* graphics = nullptr;
    if (gdip.createFromHdc(hdc, &graphics) != 0 || !graphics)
        return false;
    GpFont* font = nullptr;
    HFONT hFont = m_host ? m_host->FontHandleAt(m_fontIndex) : nullptr;
    LOGFONTA logFont;
    if (hFont && ::GetObjectA(hFont, sizeof(logFont), &logFont) == sizeof(logFont))
        gdip.createFontFromLogfont(hdc, &logFont, &font);
    else
        gdip.createFontFromDc(hdc, &font);
    GpStringFormat* format = nullptr;
    gdip.createStringFormat(0, 0, &format);
    if (!font || !format) {
        if (font)
            gdip.deleteFont(font);
        if (format)
            gdip.deleteStringFormat(format);
        gdip.deleteGraphics(graphics);
        return false;
    }
    gdip.setTextRenderingHint(graphics, effect.renderingHint);
    gdip.setStringFormatAlign(format, 0);  // near
    gdip.setStringFormatLineAlign(format, 1);  // centre

    const TGdipRectF text = {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.GetWidth()),
        static_cast<float>(r.GetHeight())};
    const int length = effect.gradientLength != 0 ? effect.gradientLength : r.GetHeight();
    const TGdipPoint from = {effect.gradientAngle, 0};
    const TGdipPoint to = {0, length};
    const int kWrapTile = 0;
    auto draw = [&](GpBrush* brush, float dx, float dy) {
        TGdipRectF at = {text.x + dx, text.y + dy, text.width, text.height};
        gdip.drawString(graphics, wide.data(), chars, font, &at, format, brush);
    };
    // A brush GDI+ refuses (start and end point equal) just leaves its layer out.
    if (effect.enabledStroke && effect.strokeColor != 0) {
        GpBrush* stroke = nullptr;
        // The outline reaches one 96-DPI pixel around the text, like the shadow's offsets.
        const int reach = Scaled(1);
        const TGdipPoint strokeTo = {0, r.GetHeight() + 2 * reach};
        DWORD c = WithAlpha(effect.transStroke, effect.strokeColor);
        if (gdip.createLineBrush(&from, &strokeTo, c, c, kWrapTile, &stroke) == 0 && stroke) {
            draw(stroke, static_cast<float>(-reach), 0.0f);
            draw(stroke, static_cast<float>(reach), 0.0f);
            draw(stroke, 0.0f, static_cast<float>(-reach));
            draw(stroke, 0.0f, static_cast<float>(reach));
            gdip.deleteBrush(stroke);
        }
    }
    if (effect.enabledShadow && (effect.textShadowColorA != 0 || effect.textShadowColorB != 0)) {
        GpBrush* shadow = nullptr;
        DWORD second = effect.textShadowColorB == 0xFFFFFFFF ? effect.textShadowColorA : effect.textShadowColorB;
        if (gdip.createLineBrush(&from, &to, WithAlpha(effect.transShadow, effect.textShadowColorA),
                WithAlpha(effect.transShadow1, second), kWrapTile, &shadow)
                == 0
            && shadow) {
            // The offsets are whole 96-DPI pixels, like every skin length.
            draw(shadow, static_cast<float>(Scaled(static_cast<int>(effect.shadowOffsetX))),
                static_cast<float>(Scaled(static_cast<int>(effect.shadowOffsetY))));
            gdip.deleteBrush(shadow);
        }
    }
    GpBrush* fill = nullptr;
    DWORD second = effect.textColor1 == 0xFFFFFFFF ? m_textColor : effect.textColor1;
    if (gdip.createLineBrush(&from, &to, WithAlpha(effect.transText, m_textColor), WithAlpha(effect.transText1, second),
            kWrapTile, &fill)
            == 0
        && fill) {
        draw(fill, 0.0f, 0.0f);
        gdip.deleteBrush(fill);
    }
    gdip.deleteStringFormat(format);
    gdip.deleteFont(font);
    gdip.deleteGraphics(graphics);
    return true;
}

}  // namespace SkinUI
