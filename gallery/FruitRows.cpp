#include "gallery/FruitRows.h"

namespace Gallery {

namespace {

const struct {
    const char* Name;
    const char* Kind;
} kFruits[] = {{"Apple", "Pome"}, {"Cherry", "Drupe"}, {"Fig", "Multiple"}, {"Grape", "Berry"},
    {"Lemon", "Hesperidium"}, {"Mango", "Drupe"}, {"Pear", "Pome"}, {"Plum", "Drupe"}};

}  // namespace

TFruitRow FruitRow(int number)
{
    const int fruits = static_cast<int>(sizeof(kFruits) / sizeof(kFruits[0]));
    const int i = number < 0 ? 0 : number;
    return TFruitRow{kFruits[i % fruits].Name, kFruits[i % fruits].Kind, static_cast<int>((i * 37LL) % 500) + 20};
}

}  // namespace Gallery
