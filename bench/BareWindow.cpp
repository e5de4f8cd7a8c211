// The reference for start-up: the smallest Win32 program that shows a 360 x 543 window and paints
// it, with the same runtime and link options as Quoril.exe.
#include <windows.h>

#include "bench/ReferenceWindow.h"

namespace {

void PaintWhite(HDC dc, const RECT& dirty)
{
    ::FillRect(dc, &dirty, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    bench::CreateReferenceWindow(instance, "BareWindow", "bare", WS_POPUP | WS_VISIBLE, PaintWhite);
    bench::RunMessages();
    return 0;
}
