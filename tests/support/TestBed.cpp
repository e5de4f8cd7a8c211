#include "support/TestBed.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace testbed {

namespace {
// The one pixel layout the test bed deals in: 32 bpp, top-down rows, 0xAARRGGBB words.
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

const char kClassName[] = "QuorilTestBedWindow";
}  // namespace

bool RegisterTestClass(const char* className, WNDPROC proc, UINT style)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

TestWindow::TestWindow(int width, int height, DWORD style)
{
    static const bool registered = RegisterTestClass(kClassName, DefWindowProcA);
    (void)registered;
    m_hwnd = CreateWindowExA(
        0, kClassName, "test", style, 0, 0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow()
{
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
}

DibCanvas::DibCanvas(int width, int height, uint32_t fill)
    : m_width(width)
    , m_height(height)
{
    BITMAPINFO bmi = TopDown32(width, height);
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    if (m_bitmap)
        m_previous = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

DibCanvas::~DibCanvas()
{
    if (m_previous)
        SelectObject(m_dc, m_previous);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_dc)
        DeleteDC(m_dc);
}

uint32_t DibCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0xDEADBEEFu;
    return m_bits[static_cast<size_t>(y) * m_width + x];
}

void DibCanvas::Fill(uint32_t argb)
{
    GdiFlush();
    if (!m_bits)
        return;
    for (size_t i = 0, n = static_cast<size_t>(m_width) * m_height; i < n; ++i)
        m_bits[i] = argb;
}

int DibCanvas::CountNot(uint32_t background, const RECT& area) const
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Pixel(x, y) != background)
                ++count;
    return count;
}

bool DibCanvas::SaveBmp(const char* path) const
{
    GdiFlush();
    if (!m_bits)
        return false;
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const int rowBytes = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = m_width;
    ih.biHeight = -m_height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + rowBytes * m_height;
    std::fwrite(&fh, sizeof(fh), 1, f);
    std::fwrite(&ih, sizeof(ih), 1, f);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const uint32_t p = m_bits[static_cast<size_t>(y) * m_width + x];
            row[x * 3 + 0] = static_cast<unsigned char>(p);
            row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(p >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

std::vector<uint32_t> ReadBitmap(HBITMAP bitmap, int& width, int& height)
{
    BITMAP bm = {};
    std::vector<uint32_t> pixels;
    width = height = 0;
    if (!bitmap || !GetObjectA(bitmap, sizeof(bm), &bm))
        return pixels;
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO bmi = TopDown32(width, height);
    pixels.resize(static_cast<size_t>(width) * height);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

namespace {

struct TQuarantined {
    unsigned char* block;
    size_t size;
    unsigned char poison;
};

std::vector<TQuarantined>& Quarantined()
{
    static std::vector<TQuarantined> blocks;
    return blocks;
}

}  // namespace

void Quarantine(void* block, size_t size, unsigned char poison)
{
    std::memset(block, poison, size);
    Quarantined().push_back(TQuarantined{static_cast<unsigned char*>(block), size, poison});
}

bool QuarantineIntact()
{
    bool intact = true;
    for (const TQuarantined& q : Quarantined()) {
        for (size_t i = 0; i < q.size; ++i)
            intact = intact && q.block[i] == q.poison;
        ::operator delete(q.block);
    }
    Quarantined().clear();
    return intact;
}

}  // namespace testbed
