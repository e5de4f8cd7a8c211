// Per-window resources: fonts, images, default attribute lists, colours along the resource-parent
// chain, transparency and the initial size.
#include <gtest/gtest.h>

#include <string>

#include "RenderTestSupport.h"
#include "host/ResourceLocation.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

LOGFONTA FontOf(HFONT f)
{
    LOGFONTA lf = {};
    GetObjectA(f, sizeof(lf), &lf);
    return lf;
}

LOGFONTA StockFont()
{
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

}  // namespace

TEST(HostFonts, DefaultFontComesFromTheStockGuiFont)
{
    TestHost host;
    const LOGFONTA stock = StockFont();
    TFontEntry* def = host.GetDefaultFontEntry();
    ASSERT_NE(nullptr, def->font);
    EXPECT_STREQ(stock.lfFaceName, def->face);
    EXPECT_EQ(-stock.lfHeight, def->size);
    EXPECT_EQ(DEFAULT_CHARSET, FontOf(def->font).lfCharSet);
    EXPECT_GT(def->metrics.tmHeight, 0) << "metrics are filled when asked for, even before a paint DC exists";
}

TEST(HostFonts, IndicesOutsideTheTableGiveTheDefaultFont)
{
    TestHost host;
    HFONT def = host.GetDefaultFontEntry()->font;
    HFONT f0 = host.AppendFont("Arial", 12, false, false, false);
    ASSERT_NE(nullptr, f0);
    EXPECT_EQ(f0, host.FontHandleAt(0));
    EXPECT_EQ(def, host.FontHandleAt(-1));
    EXPECT_EQ(def, host.FontHandleAt(1));
    EXPECT_EQ(host.GetDefaultFontEntry(), host.GetFontEntry(1));
    EXPECT_EQ(host.GetDefaultFontEntry(), host.GetFontEntryOf(reinterpret_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
}

TEST(HostFonts, CreationFlagsAndTheBoldWeight)
{
    TestHost host;
    const LOGFONTA stock = StockFont();
    HFONT f = host.AppendFont("Arial", 14, true, true, true);
    const LOGFONTA lf = FontOf(f);
    EXPECT_EQ(-14, lf.lfHeight);
    EXPECT_EQ(stock.lfWeight + FW_BOLD, lf.lfWeight) << "bold adds 700 to the stock weight";
    EXPECT_EQ(1, lf.lfUnderline);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_STREQ("Arial", lf.lfFaceName);

    TFontEntry* e = host.GetFontEntry(0);
    EXPECT_TRUE(e->bold && e->underline && e->italic);
    EXPECT_EQ(14, e->size);
    EXPECT_GT(e->metrics.tmHeight, 0);
    EXPECT_EQ(e, host.GetFontEntryOf(f));
}

TEST(HostFonts, LongFaceNamesAreCutAndTerminated)
{
    TestHost host;
    const std::string face(40, 'F');
    HFONT f = host.AppendFont(face.c_str(), 12, false, false, false);
    ASSERT_NE(nullptr, f) << "the font is still created";
    const LOGFONTA lf = FontOf(f);
    EXPECT_EQ(0, lf.lfFaceName[31]);
    EXPECT_EQ(std::string(31, 'F'), lf.lfFaceName);
    EXPECT_EQ(f, host.FindFont(face.c_str(), 12, false, false, false)) << "found by the face as given";
    EXPECT_EQ(nullptr, host.FindFont(std::string(31, 'F').c_str(), 12, false, false, false));

    host.ReplaceDefaultFont(face.c_str(), 13, false, false, false);
    EXPECT_EQ(0, FontOf(host.FontHandleAt(-1)).lfFaceName[31]);
}

TEST(HostFonts, Cp936LongFaceIsNotCutInsideADoubleByteCharacter)
{
    ASSERT_EQ(936u, GetACP());
    TestHost host;
    // 30 ASCII bytes, then two double-byte characters: byte 31 is a lead byte, which must go.
    const std::string face = std::string(30, 'A') + "\xD6\xD0\xCE\xC4";
    HFONT f = host.AppendFont(face.c_str(), 12, false, false, false);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(std::string(30, 'A'), FontOf(f).lfFaceName);
}

TEST(HostFonts, ReplaceDefaultFontResetsTheMetrics)
{
    TestHost host;
    const int before = host.GetDefaultFontEntry()->metrics.tmHeight;
    host.ReplaceDefaultFont("Arial", 40, false, false, false);
    EXPECT_EQ(40, host.GetDefaultFontEntry()->size);
    EXPECT_GT(host.GetDefaultFontEntry()->metrics.tmHeight, before);
    EXPECT_EQ(-40, FontOf(host.FontHandleAt(-1)).lfHeight);
}

TEST(HostChain, FontsDefaultsAndColoursFollowTheParentButImagesDoNot)
{
    TestHost parent;
    TestHost popup;
    popup.SetResourceParent(&parent);
    parent.SetDefaultFontColor(0xFF123456);
    popup.SetDefaultFontColor(0xFF654321);
    EXPECT_EQ(0xFF123456u, popup.GetDefaultFontColor()) << "colours come from the chain's root";
    parent.SetDefaultLinkColor(0xFF00AA00);
    EXPECT_EQ(0xFF00AA00u, popup.GetDefaultLinkColor());
    EXPECT_EQ(0xFFD3215Fu, popup.GetDefaultLinkHoverColor());
    EXPECT_EQ(0xFFA7A6AAu, popup.GetDefaultDisabledColor());
    EXPECT_EQ(0xFFBAE4FFu, popup.GetDefaultSelectedColor());

    HFONT pf = parent.AppendFont("Arial", 11, false, false, false);
    EXPECT_EQ(pf, popup.FindFont("Arial", 11, false, false, false));
    EXPECT_EQ(nullptr, popup.FindFont("Arial", 11, true, false, false));
    EXPECT_EQ(pf, popup.GetFontEntryOf(pf)->font);
    parent.ReplaceDefaultFont("Arial", 21, false, false, false);
    EXPECT_EQ(parent.FontHandleAt(-1), popup.FontHandleAt(-1)) << "the root's default font";
    // A drop-down's rows name fonts by index ("itemfont"): read in the parent's table.
    struct TIndex {
        int index;
        HFONT expected;
    };
    const TIndex indices[] = {{0, pf}, {1, parent.FontHandleAt(-1)}, {-1, parent.FontHandleAt(-1)}};
    for (const TIndex& i : indices) {
        SCOPED_TRACE(i.index);
        EXPECT_EQ(i.expected, popup.FontHandleAt(i.index));
        EXPECT_EQ(i.expected, popup.GetFontEntry(i.index)->font);
    }
    // A host with fonts of its own keeps its own index space.
    HFONT popupFont = popup.AppendFont("Arial", 13, false, false, false);
    EXPECT_EQ(popupFont, popup.FontHandleAt(0));

    parent.StoreClassDefaults("Button", "width=\"10\"");
    EXPECT_STREQ("width=\"10\"", popup.ClassDefaultsFor("Button"));
    EXPECT_EQ(nullptr, popup.ClassDefaultsFor("Label"));
    popup.StoreClassDefaults("Button", "width=\"20\"");
    EXPECT_STREQ("width=\"20\"", popup.ClassDefaultsFor("Button")) << "the nearest host wins";

    WritePng("shared.png", SolidImage(2, 2, 0xFF000000));
    ASSERT_NE(nullptr, parent.AddImageEntry("shared.png", nullptr, 0));
    TImageEntry* own = popup.FindOrLoadImage("shared.png", nullptr, 0);
    ASSERT_NE(nullptr, own);
    EXPECT_NE(parent.FindOrLoadImage("shared.png", nullptr, 0), own) << "images are per host";
}

TEST(HostChain, CyclesAreRefused)
{
    TestHost a, b, c;
    b.SetResourceParent(&a);
    c.SetResourceParent(&b);
    a.SetResourceParent(&c);
    EXPECT_EQ(nullptr, a.GetResourceParent());
    a.SetResourceParent(&a);
    EXPECT_EQ(nullptr, a.GetResourceParent());
    a.SetDefaultFontColor(0xFF010203);
    EXPECT_EQ(0xFF010203u, c.GetDefaultFontColor());
    c.SetResourceParent(nullptr);
    EXPECT_EQ(nullptr, c.GetResourceParent());
}

TEST(HostDefaults, TheFirstListWins)
{
    TestHost host;
    host.StoreClassDefaults("Button", "first");
    host.StoreClassDefaults("Button", "second");
    EXPECT_STREQ("first", host.ClassDefaultsFor("Button"));
    EXPECT_EQ(nullptr, host.ClassDefaultsFor(nullptr));
}

TEST(HostImages, AddFindAndFailures)
{
    TestHost host;
    WritePng("img.png", SolidImage(3, 3, 0xFF00FF00));
    TImageEntry* e = host.AddImageEntry("img.png", nullptr, 0xFF112233);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(0xFF112233u, e->mask);
    EXPECT_TRUE(e->resType.IsEmpty());
    EXPECT_EQ(nullptr, host.AddImageEntry("img.png", nullptr, 0)) << "a second entry under a name is discarded";
    EXPECT_EQ(e, host.FindOrLoadImage("img.png", "PNG", 0xFF445566)) << "the first type and mask stay";

    EXPECT_EQ(nullptr, host.AddImageEntry("abc", "PNG", 0)) << "a resource name must be a number";
    EXPECT_EQ(nullptr, host.AddImageEntry("104", "PNG", 0)) << "no such resource";

    // A failed load stores nothing, so the next request tries again.
    EXPECT_EQ(nullptr, host.FindOrLoadImage("later.png", nullptr, 0));
    WritePng("later.png", SolidImage(1, 1, 0xFF000000));
    EXPECT_NE(nullptr, host.FindOrLoadImage("later.png", nullptr, 0));
}

TEST(HostWindow, TransparencyClampsAndMakesTheWindowLayered)
{
    TestHost unbound;
    unbound.SetTransparency(-5);
    EXPECT_EQ(0, unbound.GetTransparency());
    unbound.SetTransparency(300);
    EXPECT_EQ(255, unbound.GetTransparency());

    testbed::TestWindow wnd;
    TestHost host;
    host.SetWindow(wnd.Handle());
    host.SetTransparency(128);
    EXPECT_EQ(128, host.GetTransparency());
    EXPECT_NE(0, GetWindowLongPtrA(wnd.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags & LWA_ALPHA);

    host.SetTransparency(300);
    EXPECT_EQ(255, host.GetTransparency());
    EXPECT_EQ(0, GetWindowLongPtrA(wnd.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) << "above a byte un-layers";
}

TEST(HostWindow, InitialSizeResizesOnlyBeforeTheRootIsAttached)
{
    testbed::TestWindow wnd(200, 100);
    TestHost host;
    host.SetWindow(wnd.Handle());
    host.SetInitialSize(320, 240);
    RECT r;
    GetWindowRect(wnd.Handle(), &r);
    EXPECT_EQ(320, r.right - r.left);
    EXPECT_EQ(240, r.bottom - r.top);

    host.SetHasRoot(true);
    host.SetInitialSize(100, 50);
    GetWindowRect(wnd.Handle(), &r);
    EXPECT_EQ(320, r.right - r.left);
    EXPECT_EQ(100, host.GetInitialSize().cx);
    EXPECT_EQ(50, host.GetInitialSize().cy);
}

TEST(HostImages, ResourceImagesByNumericName)
{
    // A copy of this executable with a "PNG" resource 104 added serves as the resource module.
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string copy = ScratchFolder() + "resources.dll";
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
    const std::vector<unsigned char> png = EncodePng(SolidImage(6, 4, 0xFF00FF00));
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceA(update, "PNG", MAKEINTRESOURCEA(104), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
        const_cast<unsigned char*>(png.data()), static_cast<DWORD>(png.size())));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    CResourceLocation::SetResourceInstance(module);

    TestHost host;
    TImageEntry* e = host.AddImageEntry("104", "PNG", 0);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(6, e->width);
    EXPECT_STREQ("PNG", e->resType);
    EXPECT_EQ(e, host.FindOrLoadImage("104", "PNG", 0));
    EXPECT_EQ(nullptr, host.AddImageEntry("105", "PNG", 0));
    // 65640 taken as 16 bits is 104.
    EXPECT_NE(nullptr, host.AddImageEntry("65640", "PNG", 0));

    CResourceLocation::SetResourceInstance(nullptr);
    FreeLibrary(module);
}
