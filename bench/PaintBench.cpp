// A full repaint of Quoril's main window (its whole control tree painted into the off-screen bitmap
// and copied to the window) against a bare window's WM_PAINT and one BitBlt of the same size.
#include <ole2.h>
#include <windows.h>

#include "app/MainWnd.h"
#include "bench/BenchClock.h"
#include "bench/BenchPaths.h"
#include "bench/BenchWindows.h"
#include "host/ResourceLocation.h"
#include "shadow/WndShadow.h"

namespace {

HWND CreateBareWindow(int width, int height)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = bench::DrawNothingProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuorilBenchBare";
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, wc.lpszClassName, "bare", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
        wc.hInstance, nullptr);
}

bench::TFigure MeasureRepaint(HWND hwnd, int runs)
{
    return bench::MeasureBatched(runs, 20, [&] {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    ::CoInitialize(nullptr);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    SkinUI::CWndShadow::InitSupport(instance);
    SkinUI::CResourceLocation::SetModuleInstance(instance);
    // The skin package travels in the program's resources.
    HMODULE program = ::LoadLibraryExA((bench::BuildFolder() + "Quoril.exe").c_str(), nullptr,
        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (program == nullptr) {
        std::fprintf(stderr, "cannot map %sQuoril.exe\n", bench::BuildFolder().c_str());
        return 1;
    }
    SkinUI::CResourceLocation::SetResourceInstance(program);

    Quoril::CMainWnd* window = new Quoril::CMainWnd();
    HWND main
        = window->Create(nullptr, "Quoril", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
    if (main == nullptr)
        return 1;
    ::UpdateWindow(main);
    RECT client = {};
    ::GetClientRect(main, &client);
    const int width = client.right, height = client.bottom;
    bench::Print("main window repaint", "ours", MeasureRepaint(main, options.runs));

    HWND bare = CreateBareWindow(width, height);
    ::UpdateWindow(bare);
    bench::Print("main window repaint", "bare WM_PAINT", MeasureRepaint(bare, options.runs));

    HDC screen = ::GetDC(bare);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    bench::Print("main window repaint", "BitBlt", bench::MeasureBatched(options.runs, 20, [&] {
        ::BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        ::GdiFlush();
    }));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(bare, screen);
    ::DestroyWindow(bare);
    ::DestroyWindow(main);
    return 0;
}
