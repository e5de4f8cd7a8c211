// What a screen reader would read from an IAccessible tree, as stable UTF-8 text: one line per
// object, indented two blanks per level:
//     push button "Close" [focusable] = ""
// role word, name in quotes, the state bits that matter as words, and the value when it has one.
// Locations are left out: they follow fonts and the display, not the program.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace testbed {

std::string RoleWord(long role);
// The state bits as words in a fixed order, blank-separated ("focusable focused").
std::string StateWords(long state);
std::string Utf8(const wchar_t* text);
// One line for the object (or its simple child `childId`), without indentation or newline.
std::string DescribeObject(IAccessible* object, long childId = CHILDID_SELF);
// The object's line and, below it, every descendant's (through AccessibleChildren), depth-first.
// Stops below `maxDepth` levels and after `maxObjects` lines, so a broken server cannot hang it.
std::string DumpTree(IAccessible* object, int maxDepth = 32, int maxObjects = 2000);
// The client-area object of a window (through WM_GETOBJECT), or null; the caller releases it.
IAccessible* ClientObject(HWND window);

}  // namespace testbed
