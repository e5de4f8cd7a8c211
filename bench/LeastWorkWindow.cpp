// A second reference for start-up: the least any program must do to open Quoril's window as it
// is. Beside the bare window's work it looks up the connections with the same system calls
// (router configuration, interface table, the adapter list when the router has no names) on a
// worker started once the window system is up and waited for at the first paint, shows a layered
// shadow window drawn once, and draws the shipped background shrunk to the window with the same
// decoder making the same choice (libjpeg-turbo, reduced by its DCT scaling to the least size
// covering the window) and the same resampler, both on a worker that starts at entry. It builds no
// controls, parses no skin and keeps nothing once painted: what Quoril takes beyond this is its own
// overhead, and this program's ratio to the bare window is a floor under Quoril's.
// The sockets header goes before windows.h, which would otherwise bring in the old one.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchPaths.h"
#include "bench/ReferenceWindow.h"
#include "render/JpegDecode.h"
#include "stb_image_resize.h"

namespace {

const int kWidth = bench::kReferenceWidth;
const int kHeight = bench::kReferenceHeight;
const int kSpread = 2;

struct TBackground {
    std::vector<unsigned char> file;
    std::vector<uint32_t> shrunk;  // kWidth x kHeight, top-down; empty when nothing decoded
    HANDLE worker = nullptr;
};

TBackground g_background;
HANDLE g_lookUp = nullptr;

std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = ::GetFileSize(file, nullptr);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE && size < (64u << 20)) {
        bytes.resize(size);
        if (!::ReadFile(file, bytes.data(), size, &read, nullptr) || read != size)
            bytes.clear();
    }
    ::CloseHandle(file);
    return bytes;
}

DWORD WINAPI Decode(void*)
{
    SkinUI::TJpegImage image;
    if (SkinUI::DecodeJpeg(g_background.file.data(), g_background.file.size(), 64u << 20, kWidth, kHeight, image)
        == SkinUI::JpegResult::Decoded) {
        std::vector<unsigned char>().swap(g_background.file);
        g_background.shrunk.resize(static_cast<size_t>(kWidth) * kHeight);
        stbir_resize(image.pixels, image.width, image.height, image.width * 4, g_background.shrunk.data(), kWidth,
            kHeight, kWidth * 4, STBIR_TYPE_UINT8, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
            STBIR_FILTER_BOX, STBIR_FILTER_BOX, STBIR_COLORSPACE_LINEAR, nullptr);
        std::free(image.pixels);
    }
    return 0;
}

HMODULE SystemLibrary(const char* name)
{
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return ::LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

// The connection look-up's system calls, their answers dropped.
void LookUpConnections()
{
    using ConnectFn = DWORD(WINAPI*)(LPWSTR, HANDLE*);
    using FriendlyNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, LPWSTR, DWORD);
    using DisconnectFn = void(WINAPI*)(HANDLE);
    using InterfaceInfoFn = DWORD(WINAPI*)(PIP_INTERFACE_INFO, PULONG);
    using AdaptersFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);
    HMODULE mpr = SystemLibrary("mprapi.dll");
    HMODULE ip = SystemLibrary("iphlpapi.dll");
    if (mpr == nullptr || ip == nullptr)
        return;
    auto connect = reinterpret_cast<ConnectFn>(::GetProcAddress(mpr, "MprConfigServerConnect"));
    auto friendlyName = reinterpret_cast<FriendlyNameFn>(::GetProcAddress(mpr, "MprConfigGetFriendlyName"));
    auto disconnect = reinterpret_cast<DisconnectFn>(::GetProcAddress(mpr, "MprConfigServerDisconnect"));
    auto interfaceInfo = reinterpret_cast<InterfaceInfoFn>(::GetProcAddress(ip, "GetInterfaceInfo"));
    auto adapters = reinterpret_cast<AdaptersFn>(::GetProcAddress(ip, "GetAdaptersAddresses"));
    HANDLE config = nullptr;
    const bool connected = connect != nullptr && connect(nullptr, &config) == NO_ERROR;
    ULONG size = 0;
    if (interfaceInfo == nullptr || interfaceInfo(nullptr, &size) != ERROR_INSUFFICIENT_BUFFER
        || size < sizeof(IP_INTERFACE_INFO))
        return;
    std::vector<unsigned char> table(size);
    auto* info = reinterpret_cast<PIP_INTERFACE_INFO>(table.data());
    if (interfaceInfo(info, &size) != NO_ERROR)
        return;
    const LONG room
        = static_cast<LONG>((table.size() - offsetof(IP_INTERFACE_INFO, Adapter)) / sizeof(IP_ADAPTER_INDEX_MAP));
    bool namesRead = false;
    for (LONG i = 0; i < info->NumAdapters && i < room; ++i) {
        wchar_t name[256] = {};
        if (connected && friendlyName != nullptr
            && friendlyName(config, info->Adapter[i].Name, name, sizeof(name)) == NO_ERROR)
            continue;
        if (!namesRead && adapters != nullptr) {
            namesRead = true;
            ULONG bytes = 16 * 1024;
            std::vector<unsigned char> block(bytes);
            adapters(AF_INET,
                GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
                nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data()), &bytes);
        }
    }
    if (connected && disconnect != nullptr)
        disconnect(config);
}

DWORD WINAPI LookUpOnWorker(void*)
{
    LookUpConnections();
    return 0;
}

// A layered window around the main one, drawn once with a 32 bpp bitmap of its size.
void ShowShadow(HINSTANCE instance, HWND owner)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "LeastWorkShadow";
    ::RegisterClassA(&wc);
    HWND shadow = ::CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT, wc.lpszClassName, nullptr, WS_POPUPWINDOW,
        100 - kSpread, 100 - kSpread, kWidth + 2 * kSpread, kHeight + 2 * kSpread, owner, nullptr, instance, nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = kWidth + 2 * kSpread;
    bmi.bmiHeader.biHeight = kHeight + 2 * kSpread;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(memory, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        std::memset(bits, 0x40, static_cast<size_t>(bmi.bmiHeader.biWidth) * bmi.bmiHeader.biHeight * 4);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        POINT position = {100 - kSpread, 100 - kSpread};
        SIZE size = {bmi.bmiHeader.biWidth, bmi.bmiHeader.biHeight};
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(shadow, screen, &position, &size, memory, &origin, 0, &blend, ULW_ALPHA);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::ShowWindow(shadow, SW_SHOWNOACTIVATE);
}

void PaintBackground(HDC dc, const RECT&)
{
    ::WaitForSingleObject(g_lookUp, INFINITE);
    ::WaitForSingleObject(g_background.worker, INFINITE);
    if (g_background.shrunk.empty())
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    ::SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, g_background.shrunk.data(), &info, DIB_RGB_COLORS);
    std::vector<uint32_t>().swap(g_background.shrunk);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_background.file = ReadWholeFile(bench::SourceFolder() + "resources\\bk.jpg");
    g_background.worker = ::CreateThread(nullptr, 0, Decode, nullptr, 0, nullptr);
    HWND window = bench::CreateReferenceWindow(instance, "LeastWorkWindow", "least work", WS_POPUP, PaintBackground);
    g_lookUp = ::CreateThread(nullptr, 0, LookUpOnWorker, nullptr, 0, nullptr);
    ShowShadow(instance, window);
    ::ShowWindow(window, SW_SHOW);
    bench::RunMessages();
    return 0;
}
