// The skin builder's vocabulary: the control classes it creates by element name, and the
// attributes of its own elements (Window, Font, Image, Default, Include), which configure the host
// or the build instead of a control. The builder dispatches through these tables, and the skin
// author's reference is checked against them, so both read the same names.
#pragma once

#include <windows.h>

#include <cstddef>

#include "core/AttributeTable.h"
#include "core/UIString.h"

namespace SkinUI {

class CControlUI;
class CWindowHostUI;

struct TSkinElement {
    const char* Name;
    size_t Length;
    CControlUI* (*Create)();  // null: the class is not part of this build; the callback may know it
    void (*AppendAttributeNames)(TAttributeNames& names);  // the class's whole attribute set
};

// A view of a static array, usable in a range-for.
template <class T> struct TStaticList {
    const T* entries;  // not owned: a static array
    size_t count;
    const T* begin() const { return entries; }
    const T* end() const { return entries + count; }
};

// Every element the factory knows, grouped by name length.
TStaticList<TSkinElement> SkinElements();

// What a Font element asks the host for.
struct TFontRequest {
    const char* face = nullptr;  // the element's own value; null: no font
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool isDefault = false;
};

// What an Image element registers with the host.
struct TImageRequest {
    const char* name = nullptr;  // the element's own value; null: nothing to register
    const char* resType = nullptr;
    DWORD mask = 0;
};

// A Default element: attributes the host applies to every element of one name.
struct TDefaultRequest {
    const char* name = nullptr;
    const char* value = nullptr;
};

// An Include element. Its values are read by name, cut to the builder's buffer size.
struct TIncludeRequest {
    CUIString source;
    bool hasSource = false;
    int count = 1;
};

CAttributeTable<CWindowHostUI> WindowAttributes();
CAttributeTable<TFontRequest> FontAttributes();
CAttributeTable<TImageRequest> ImageAttributes();
CAttributeTable<TDefaultRequest> DefaultAttributes();
CAttributeTable<TIncludeRequest> IncludeAttributes();

// The builder's own elements with the names each reads.
struct TBuilderElement {
    const char* Name;
    void (*AppendAttributeNames)(TAttributeNames& names);
};
TStaticList<TBuilderElement> BuilderElements();

}  // namespace SkinUI
