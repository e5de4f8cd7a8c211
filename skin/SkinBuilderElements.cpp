#include "skin/SkinBuilderElements.h"

#include "controls/com/ActiveX.h"
#include "controls/text/Button.h"
#include "controls/text/CheckBox.h"
#include "controls/layout/ChildLayout.h"
#include "controls/native/ComboBox.h"
#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "controls/native/DateTime.h"
#include "controls/native/Edit.h"
#include "controls/com/Flash.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/text/Label.h"
#include "controls/list/List.h"
#include "controls/list/ListContainerElement.h"
#include "controls/list/ListHeader.h"
#include "controls/list/ListTextElement.h"
#include "controls/text/Option.h"
#include "controls/range/Progress.h"
#include "controls/richedit/RichEdit.h"
#include "controls/range/ScrollBar.h"
#include "controls/range/Slider.h"
#include "controls/layout/TabLayout.h"
#include "controls/text/Text.h"
#include "controls/layout/TileLayout.h"
#include "controls/list/TreeNode.h"
#include "controls/list/TreeView.h"
#include "controls/list/VirtualList.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/com/WebBrowser.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

template <class T> CControlUI* Make() { return new T; }

#define SKIN_ELEMENT(name, type)                                                                                       \
    {                                                                                                                  \
        name, sizeof(name) - 1, &Make<type>, &type::AppendAttributeNames                                               \
    }

// The whole element vocabulary, grouped by name length so a look-up compares only a few names.
const TSkinElement kFactory[] = {
    SKIN_ELEMENT("Edit", CEditUI),
    SKIN_ELEMENT("List", CListUI),
    SKIN_ELEMENT("Text", CTextUI),
    SKIN_ELEMENT("Combo", CComboUI),
    SKIN_ELEMENT("Flash", CFlashUI),
    SKIN_ELEMENT("Label", CLabelUI),
    SKIN_ELEMENT("Button", CButtonUI),
    SKIN_ELEMENT("Option", COptionUI),
    SKIN_ELEMENT("Slider", CSliderUI),
    SKIN_ELEMENT("Control", CControlUI),
    SKIN_ELEMENT("ActiveX", CActiveXUI),
    SKIN_ELEMENT("CheckBox", CCheckBoxUI),
    SKIN_ELEMENT("ComboBox", CComboBoxUI),
    SKIN_ELEMENT("DateTime", CDateTimeUI),
    SKIN_ELEMENT("Progress", CProgressUI),
    SKIN_ELEMENT("RichEdit", CRichEditUI),
    SKIN_ELEMENT("TreeView", CTreeViewUI),
    SKIN_ELEMENT("TreeNode", CTreeNodeUI),
    SKIN_ELEMENT("Container", CContainerUI),
    SKIN_ELEMENT("ScrollBar", CScrollBarUI),
    SKIN_ELEMENT("TabLayout", CTabLayoutUI),
    SKIN_ELEMENT("ListHeader", CListHeaderUI),
    SKIN_ELEMENT("TileLayout", CTileLayoutUI),
    SKIN_ELEMENT("WebBrowser", CWebBrowserUI),
    SKIN_ELEMENT("ChildLayout", CChildLayoutUI),
    SKIN_ELEMENT("VirtualList", CVirtualListUI),
    SKIN_ELEMENT("VerticalLayout", CVerticalLayoutUI),
    SKIN_ELEMENT("ListHeaderItem", CListHeaderItemUI),
    SKIN_ELEMENT("ListTextElement", CListTextElementUI),
    SKIN_ELEMENT("ListLabelElement", CListLabelElementUI),
    SKIN_ELEMENT("HorizontalLayout", CHorizontalLayoutUI),
    SKIN_ELEMENT("ListContainerElement", CListContainerElementUI),
};

#undef SKIN_ELEMENT

using H = CWindowHostUI;

constexpr TAttributeHandler<H> kWindowTable[] = {
    {"size",
        [](H& host, const char* v) {
            CSizeUI size = ParseSize(v);
            host.SetInitialSize(size.cx, size.cy);
        }},
    {"sizebox", [](H& host, const char* v) { host.SetSizeBox(ParseRect(v)); }},
    {"caption", [](H& host, const char* v) { host.SetCaptionRect(ParseRect(v)); }},
    {"roundcorner",
        [](H& host, const char* v) {
            CSizeUI size = ParseSize(v);
            host.SetRoundCorner(size.cx, size.cy);
        }},
    {"mininfo",
        [](H& host, const char* v) {
            CSizeUI size = ParseSize(v);
            host.SetMinInfo(size.cx, size.cy);
        }},
    {"maxinfo",
        [](H& host, const char* v) {
            CSizeUI size = ParseSize(v);
            host.SetMaxInfo(size.cx, size.cy);
        }},
    {"showdirty", [](H& host, const char* v) { host.SetShowDirty(ParseFlag(v)); }},
    {"alpha", [](H& host, const char* v) { host.SetTransparency(ParseInt(v)); }},
    {"bktrans", [](H& host, const char* v) { host.SetBackgroundSnapshot(ParseFlag(v)); }},
    {"disabledfontcolor", [](H& host, const char* v) { host.SetDefaultDisabledColor(ParseColor(v)); }},
    {"defaultfontcolor", [](H& host, const char* v) { host.SetDefaultFontColor(ParseColor(v)); }},
    {"linkfontcolor", [](H& host, const char* v) { host.SetDefaultLinkColor(ParseColor(v)); }},
    {"linkhoverfontcolor", [](H& host, const char* v) { host.SetDefaultLinkHoverColor(ParseColor(v)); }},
    {"selectedcolor", [](H& host, const char* v) { host.SetDefaultSelectedColor(ParseColor(v)); }},
};

constexpr TAttributeHandler<TFontRequest> kFontTable[] = {
    {"name", [](TFontRequest& font, const char* v) { font.face = v; }},
    {"size", [](TFontRequest& font, const char* v) { font.size = ParseInt(v); }},
    {"bold", [](TFontRequest& font, const char* v) { font.bold = ParseFlag(v); }},
    {"underline", [](TFontRequest& font, const char* v) { font.underline = ParseFlag(v); }},
    {"italic", [](TFontRequest& font, const char* v) { font.italic = ParseFlag(v); }},
    {"default", [](TFontRequest& font, const char* v) { font.isDefault = ParseFlag(v); }},
};

constexpr TAttributeHandler<TImageRequest> kImageTable[] = {
    {"name", [](TImageRequest& image, const char* v) { image.name = v; }},
    {"restype", [](TImageRequest& image, const char* v) { image.resType = v; }},
    {"mask", [](TImageRequest& image, const char* v) { image.mask = ParseColor(v); }},
};

constexpr TAttributeHandler<TDefaultRequest> kDefaultTable[] = {
    {"name", [](TDefaultRequest& entry, const char* v) { entry.name = v; }},
    {"value", [](TDefaultRequest& entry, const char* v) { entry.value = v; }},
};

constexpr TAttributeHandler<TIncludeRequest> kIncludeTable[] = {
    {"source",
        [](TIncludeRequest& include, const char* v) {
            include.source = v;
            include.hasSource = true;
        }},
    {"count", [](TIncludeRequest& include, const char* v) { include.count = ParseInt(v); }},
};

const TBuilderElement kBuilderElements[] = {
    {"Window", [](TAttributeNames& names) { WindowAttributes().AppendNames(names); }},
    {"Font", [](TAttributeNames& names) { FontAttributes().AppendNames(names); }},
    {"Image", [](TAttributeNames& names) { ImageAttributes().AppendNames(names); }},
    {"Default", [](TAttributeNames& names) { DefaultAttributes().AppendNames(names); }},
    {"Include", [](TAttributeNames& names) { IncludeAttributes().AppendNames(names); }},
};

}  // namespace

TStaticList<TSkinElement> SkinElements() { return {kFactory, sizeof(kFactory) / sizeof(kFactory[0])}; }

CAttributeTable<CWindowHostUI> WindowAttributes() { return kWindowTable; }
CAttributeTable<TFontRequest> FontAttributes() { return kFontTable; }
CAttributeTable<TImageRequest> ImageAttributes() { return kImageTable; }
CAttributeTable<TDefaultRequest> DefaultAttributes() { return kDefaultTable; }
CAttributeTable<TIncludeRequest> IncludeAttributes() { return kIncludeTable; }

TStaticList<TBuilderElement> BuilderElements()
{
    return {kBuilderElements, sizeof(kBuilderElements) / sizeof(kBuilderElements[0])};
}

}  // namespace SkinUI
