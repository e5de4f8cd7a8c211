// The real gallery window, its skin package read from the built SkinUIGallery.exe, at the DPI the
// test prefix runs at (QUORIL_TEST_DPI in the variants at 144 and 192, else 96): the window's client
// and the status line's DPI follow it.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gallery/GalleryWnd.h"
#include "program/ProgramTestSupport.h"

using namespace SkinUI;

namespace {

int PrefixDpi()
{
    char text[16] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUORIL_TEST_DPI", text, sizeof(text));
    return length > 0 && length < sizeof(text) ? std::atoi(text) : 96;
}

}  // namespace

TEST(GalleryWindow, DisplayScaleSizesTheWindowAndShowsInTheStatusLine)
{
    const int dpi = PrefixDpi();
    programtest::SkinLocationScope location("");
    HMODULE module = ::LoadLibraryExA((programtest::BuildFolder() + "SkinUIGallery.exe").c_str(), nullptr,
        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module) << "SkinUIGallery.exe must be built next to the tests folder";
    CResourceLocation::SetResourceInstance(module);
    ::OleInitialize(nullptr);

    auto* window = new Gallery::CGalleryWnd();  // deletes itself with its window
    const HWND hwnd = window->Create(nullptr, Gallery::CGalleryWnd::kTitle,
        WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW, 0, 0, 0, 0);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(dpi, window->Host().GetDpi());
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    // The skin's 800 x 540 (the height grows by 7/6 when the program centres it).
    EXPECT_EQ(::MulDiv(800, dpi, 96), client.right);
    EXPECT_EQ(::MulDiv(540, dpi, 96), client.bottom);
    CControlUI* line = window->Host().FindControlByName(Gallery::CGalleryWnd::kDpiControl);
    ASSERT_NE(nullptr, line);
    const std::string expected = std::to_string(dpi) + " DPI (" + std::to_string(dpi * 100 / 96) + " %)";
    EXPECT_EQ(expected, line->GetText().GetData());

    // Moved to twice the DPI: the line says so at once.
    RECT suggested = {0, 0, 2 * client.right, 2 * client.bottom};
    ::SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(std::to_string(2 * dpi) + " DPI (" + std::to_string(2 * dpi * 100 / 96) + " %)",
        std::string(line->GetText().GetData()));

    ::DestroyWindow(hwnd);
    ::OleUninitialize();
    ::FreeLibrary(module);
}
