// Places its non-floating children in rows of equal-width cells ("TileLayout" in the skin).
//
// The row count follows from the children; the column count is "columns", or, when "itemsize" has
// a width, as many cells of that width as fit the client width (recomputed at every layout, so it
// overrides "columns"; the item height is not used). Every row is as high as its tallest tile, as
// measured against the row's first tile's limits; each child is centred in its cell, inside its
// padding and half the child padding on the sides it shares with a neighbour. The layout scrolls
// vertically through the container's bars. Positions are host client coordinates; all arithmetic is
// integer arithmetic truncating toward zero.
#pragma once

#include "controls/base/Container.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();
    ~CTileLayoutUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "TileLayout";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    CSizeUI GetItemSize() const { return m_itemSize; }
    void SetItemSize(const CSizeUI& size);
    int GetColumns() const { return m_columns; }
    // Counts below 1 are ignored.
    void SetColumns(int columns);

private:
    // Height of the row that starts at child `first`: the tallest of its next `m_columns` tiles.
    int MeasureRow(int first, int cellWidth) const;

    CSizeUI m_itemSize;  // "itemsize"; only a width > 0 matters
    int m_columns = 1;  // always >= 1

    static CAttributeTable<CTileLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
