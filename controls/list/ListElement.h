// Rows of a list owner (a combo or a list control) that are plain controls.
//
// CListElementUI is the row behaviour on a control: index, selection, owner, activation, and the
// events it does not handle itself forwarded to the owner (so the owner's keyboard and wheel
// handling applies while a row has the focus). CListLabelElementUI is a one-line text row painted
// with the owner's style ("ListLabelElement" in the skin). Positions are host client coordinates.
#pragma once

#include "controls/base/Control.h"
#include "controls/list/ListRow.h"

namespace SkinUI {

class CListElementUI : public CListRowUI<CControlUI> {
public:
    static constexpr const char* kCastName = "ListElement";
    void* CastTo(const char* name) override;
    void OnEvent(TInputEvent& event) override;
    // A bare element has no text; the label rows draw theirs.
    void DrawItemText(HDC, const CRectUI&) override { }
};

class CListLabelElementUI : public CListElementUI {
public:
    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ListLabelElement";
    void* CastTo(const char* name) override;
    void OnEvent(TInputEvent& event) override;
    CSizeUI MeasureSize(CSizeUI available) override;
    void Paint(HDC hdc, const CRectUI& paintRect) override;
    void DrawItemText(HDC hdc, const CRectUI& rect) override;

protected:
    // Text-metric height of the owner's item font plus the vertical text padding and 8.
    int RowHeight();
};

}  // namespace SkinUI
