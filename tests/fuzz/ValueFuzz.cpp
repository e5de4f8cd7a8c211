// The skin value readers on one NUL-terminated text, with the promises their header makes.
#include <string>

#include "core/ValueParse.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::unique_ptr<char[]> text = Fuzz::TextCopy(data, size);
    const char* p = text.get();

    Fuzz::Require(SkinUI::ParseFlag(p) == (std::strcmp(p, "true") == 0), "flag only for \"true\"");
    const int single = SkinUI::ParseInt(p);

    int values[9];
    for (int count = 0; count <= 9; ++count) {
        for (int& v : values)
            v = 12345;
        const int found = SkinUI::ParseIntList(p, values, count);
        Fuzz::Require(found >= 0 && found <= count, "found within count");
        for (int i = count; i < 9; ++i)
            Fuzz::Require(values[i] == 12345, "nothing written past count");
        if (count > 0)
            Fuzz::Require(values[0] == single, "list starts as the single reader");
    }
    const SkinUI::CRectUI rect = SkinUI::ParseRect(p);
    SkinUI::ParseIntList(p, values, 4);
    Fuzz::Require(rect.left == values[0] && rect.bottom == values[3], "rect is the list of four");
    const SkinUI::CSizeUI extent = SkinUI::ParseSize(p);
    Fuzz::Require(extent.cx == values[0], "size is the list of two");

    const DWORD colour = SkinUI::ParseColor(p);
    const char* skipped = p;
    while (static_cast<unsigned char>(*skipped) >= 1 && static_cast<unsigned char>(*skipped) <= 32)
        ++skipped;
    Fuzz::Require(SkinUI::ParseColorSkipBlanks(p) == SkinUI::ParseColor(skipped), "skip then read");
    Fuzz::Require(p[0] == '#' || colour == SkinUI::ParseColor((std::string("#") + p).c_str()), "one optional #");
    return 0;
}
