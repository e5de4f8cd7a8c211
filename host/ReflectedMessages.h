// Messages a native child sends its parent that the host hands back to the child, reflected: the
// child's own window procedure (EditWnd, DateTimeWnd) answers them under these numbers, which keep
// them apart from the child's own messages. The offset is the one the platform's own control
// containers use, so a child written for them behaves the same here.
#pragma once
#include <windows.h>

namespace SkinUI {

constexpr UINT kReflectedOffset = 0x2000;
constexpr UINT ReflectedMessage(UINT message) { return kReflectedOffset + message; }

constexpr UINT kReflectedNotify = ReflectedMessage(WM_NOTIFY);
constexpr UINT kReflectedCommand = ReflectedMessage(WM_COMMAND);
constexpr UINT kReflectedColorEdit = ReflectedMessage(WM_CTLCOLOREDIT);
constexpr UINT kReflectedColorStatic = ReflectedMessage(WM_CTLCOLORSTATIC);

}  // namespace SkinUI
