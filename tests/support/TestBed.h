// Test bed for tests that need real Win32 objects under Wine: a plain top-level window,
// a 32-bit top-down DIB section to paint into and read back, and a message pump that
// runs until a condition holds or a timeout passes (never a fixed sleep).
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <vector>

namespace testbed {

// Registers a window class of this executable (arrow cursor, no background);
// true when the class exists afterwards, also when it was registered before.
bool RegisterTestClass(const char* className, WNDPROC proc, UINT style = 0);

// A hidden top-level window of a private class with DefWindowProcA behind it. Destroyed with the object.
class TestWindow {
public:
    explicit TestWindow(int width = 200, int height = 100, DWORD style = WS_OVERLAPPEDWINDOW);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND Handle() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

// A width x height 32 bpp top-down DIB selected into a memory DC. Pixels are 0xAARRGGBB words
// (the DIB's BGRA byte order read as little-endian uint32), row 0 at the top.
class DibCanvas {
public:
    DibCanvas(int width, int height, uint32_t fill = 0);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t* Bits() const { return m_bits; }
    // Flushes GDI's batch, then reads one pixel; out-of-range points answer 0xDEADBEEF.
    uint32_t Pixel(int x, int y) const;
    void Fill(uint32_t argb);
    // Count of pixels in the rectangle whose value differs from `background`.
    int CountNot(uint32_t background, const RECT& area) const;
    // Writes the canvas as a 24-bit BMP (for looking at a failing drawing by eye).
    bool SaveBmp(const char* path) const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;  // owned by m_bitmap
};

// The pixels of a 32 bpp bitmap (selected anywhere or not) as top-down 0xAARRGGBB words; empty, with
// width and height 0, for a null or unreadable bitmap.
std::vector<uint32_t> ReadBitmap(HBITMAP bitmap, int& width, int& height);

// Dispatches messages of this thread until `done` answers true or `timeoutMs` passes.
// Returns whether `done` held. Waits on the queue, so it never spins.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Dispatches whatever is queued now (posted messages, pending paints), then returns.
void PumpPending();

// Freed objects kept filled with `poison` instead of going back to the heap, so a write to a dead
// object (or a call through its destroyed vtable) shows. A test class's operator delete calls it.
void Quarantine(void* block, size_t size, unsigned char poison);
// Whether every quarantined block still holds nothing but its poison; frees them all.
bool QuarantineIntact();

}  // namespace testbed
