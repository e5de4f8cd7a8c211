// The rows of the gallery's virtual list: a million fruit rows made up from their index, in the
// order the user last asked for with a caption click. Nothing is stored per row.
//
// Each fill is counted, and the first fill after the window last looked posts it kCountsMessage,
// so the figures on the page are updated after the paint that asked for the rows, never inside it.
#pragma once

#include <windows.h>

#include "controls/list/VirtualList.h"

namespace Gallery {

class CMillionRows : public SkinUI::IVirtualListSource {
public:
    static const int kRows = 1000000;
    static const UINT kCountsMessage = WM_APP + 1;

    void SetWindow(HWND window) { m_window = window; }
    void FillRow(int index, SkinUI::TVirtualRow& row) override;
    // Sorting by any column reverses the order: every column rises with the row number.
    void ReverseOrder() { m_descending = !m_descending; }
    long long Fills() const { return m_fills; }
    // The window took the figures; the next fill posts again.
    void CountsShown() { m_posted = false; }

private:
    HWND m_window = nullptr;
    bool m_descending = false;
    bool m_posted = false;
    long long m_fills = 0;
};

}  // namespace Gallery
