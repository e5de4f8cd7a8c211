// Shared by the render tests: a host whose window, paint DC and mouse point a test can set, a PNG
// encoder for making test images (and the committed reference drawings), a scratch folder that
// serves as the skin folder, and the comparison of a canvas with a reference PNG.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/HostResources.h"
#include "support/TestBed.h"

namespace rendertest {

class TestHost : public SkinUI::CHostResources {
public:
    void SetPaintDc(HDC dc) { m_hDcPaint = dc; }
    void SetWindow(HWND wnd) { m_hWndPaint = wnd; }
    void SetMouse(int x, int y) { m_ptLastMousePos = POINT{x, y}; }
    void SetHasRoot(bool has) { m_hasRoot = has; }

protected:
    bool HasRootControl() const override { return m_hasRoot; }

private:
    bool m_hasRoot = false;
};

// Pixels as 0xAARRGGBB words, row 0 at the top (straight alpha, as stb_image gives them back).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    uint32_t& At(int x, int y) { return argb[static_cast<size_t>(y) * width + x]; }
};

Image SolidImage(int width, int height, uint32_t argb);
std::vector<unsigned char> EncodePng(const Image& image);
// Writes the file (binary); false on failure.
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
// Writes `image` as PNG named `name` in the scratch folder and returns the name.
std::string WritePng(const std::string& name, const Image& image);

// A fresh folder under %TEMP% used as the skin folder for the whole run; ends with '\'.
const std::string& ScratchFolder();
// tests\render\data\ and resources\ of the source tree, found from the executable's place.
std::string DataFolder();
std::string SkinResourceFolder();

// The canvas as an Image (alpha byte forced to 0xFF: GDI leaves it undefined).
Image FromCanvas(const testbed::DibCanvas& canvas);
// Decodes a PNG file with stb_image; empty image on failure.
Image LoadPng(const std::string& path);

// Compares `canvas` with the reference PNG `name` in DataFolder(). Passes when at most
// `maxBadPixels` pixels differ by more than `channelTolerance` in any colour channel. With the
// environment variable QUORIL_WRITE_REFERENCES=1 the reference is (re)written instead.
::testing::AssertionResult MatchesReference(
    const testbed::DibCanvas& canvas, const std::string& name, int channelTolerance, int maxBadPixels);

// Names, in a child run of the test program in which msimg32 is never loaded, the file the child
// writes "ok" to when its checks pass.
const char kWithoutMsimg32[] = "QUORIL_RENDER_WITHOUT_MSIMG32";
// The file named by kWithoutMsimg32; empty in a normal run.
std::string WithoutMsimg32ResultFile();
inline bool RunsWithoutMsimg32() { return !WithoutMsimg32ResultFile().empty(); }

inline uint32_t Rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }
// Pixels in `area` whose colour (alpha ignored) is `rgb`.
int CountRgb(const testbed::DibCanvas& canvas, uint32_t rgb, const RECT& area);
// Pixels of every `step`th row and column of `area` where a colour channel of `a` and `b` differs
// by more than `tolerance` levels.
int CountApart(const testbed::DibCanvas& a, const testbed::DibCanvas& b, const RECT& area, int step, int tolerance);

}  // namespace rendertest
