#include "gallery/MillionRows.h"

#include <cstdio>

#include "gallery/FruitRows.h"

namespace Gallery {

void CMillionRows::FillRow(int index, SkinUI::TVirtualRow& row)
{
    const int number = m_descending ? kRows - 1 - index : index;
    char text[32];
    std::snprintf(text, sizeof(text), "Row %07d", number + 1);
    row.texts[0] = text;
    const TFruitRow fruit = FruitRow(number);
    row.texts[1] = fruit.name;
    row.texts[2] = fruit.kind;
    std::snprintf(text, sizeof(text), "%d", fruit.grams);
    row.texts[3] = text;
    ++m_fills;
    if (!m_posted && m_window != nullptr)
        m_posted = ::PostMessageA(m_window, kCountsMessage, 0, 0) != FALSE;
}

}  // namespace Gallery
