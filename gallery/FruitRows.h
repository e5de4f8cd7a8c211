// What the gallery's list rows show, made up from the row number alone, so the list of controls
// and the virtual list tell the same story.
#pragma once

namespace Gallery {

struct TFruitRow {
    const char* name;
    const char* kind;
    int grams;
};

TFruitRow FruitRow(int number);

}  // namespace Gallery
