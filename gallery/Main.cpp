// The SkinUI Gallery's entry point: runs the gallery window until it is gone.
#include <ole2.h>
#include <windows.h>

#include "gallery/GalleryWnd.h"
#include "host/ResourceLocation.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The rich edit, ActiveX and browser pages host COM objects on this thread.
    ::OleInitialize(nullptr);
    SkinUI::CResourceLocation::SetModuleInstance(instance);

    // The window deletes itself after its last message.
    auto* window = new Gallery::CGalleryWnd();
    if (window->Create(nullptr, Gallery::CGalleryWnd::kTitle,
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW, 0, 0,
            0, 0)
        == nullptr) {
        return 1;
    }
    window->CenterOverOwner();
    window->SetIcons(Gallery::CGalleryWnd::kIconResourceId);
    window->RunModal();
    ::OleUninitialize();
    return 0;
}
