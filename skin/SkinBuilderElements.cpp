#include "skin/SkinBuilderElements.h"

#include "controls/ActiveX.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ChildLayout.h"
#include "controls/ComboBox.h"
#include "controls/Container.h"
#include "controls/Control.h"
#include "controls/DateTime.h"
#include "controls/Edit.h"
#include "controls/Flash.h"
#include "controls/HorizontalLayout.h"
#include "controls/Label.h"
#include "controls/List.h"
#include "controls/ListContainerElement.h"
#include "controls/ListHeader.h"
#include "controls/ListTextElement.h"
#include "controls/Option.h"
#include "controls/Progress.h"
#include "controls/RichEdit.h"
#include "controls/ScrollBar.h"
#include "controls/Slider.h"
#include "controls/TabLayout.h"
#include "controls/Text.h"
#include "controls/TileLayout.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "controls/VerticalLayout.h"
#include "controls/WebBrowser.h"
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
