// Skin-shaped XML documents of a chosen size for the parser benchmark: a Window with fonts, default
// attribute lists and images, then nested layouts of buttons, labels and options carrying the
// attributes real skins use (positions, image attribute strings, colours, texts with entities, and
// some texts in Chinese, as in the shipped skin, so the UTF-8 loader has something to convert), and
// a comment now and then. Deterministic: the same size always gives the same text.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

inline void AppendControl(std::string& out, int serial, int depth)
{
    char line[640];
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    switch (serial % 4) {
    case 0:
        std::snprintf(line, sizeof(line),
            "%s<Button name=\"btn%d\" pos=\"%d,%d,%d,%d\" width=\"200\" height=\"50\" text=\"Button %d &amp; more\" "
            "normalimage=\"file='btn.png' source='0,0,20,20' corner='4,4,4,4'\" hotimage=\"file='btn.png' "
            "source='20,0,40,20' corner='4,4,4,4'\" textcolor=\"#FF333333\" font=\"1\"/>\n",
            indent.c_str(), serial, serial % 300, serial % 200, serial % 300 + 200, serial % 200 + 50, serial);
        break;
    case 1:
        std::snprintf(line, sizeof(line),
            "%s<Label name=\"lbl%d\" text=\"\u6807\u7b7e &lt;%d&gt;\" textpadding=\"4,2,4,2\" align=\"center\" "
            "bkcolor=\"#FFEEEEEE\" bordercolor=\"#FF999999\" bordersize=\"1\" showhtml=\"true\"/>\n",
            indent.c_str(), serial, serial);
        break;
    case 2:
        std::snprintf(line, sizeof(line),
            "%s<Option name=\"opt%d\" group=\"g%d\" text=\"\u9009\u9879 %d\" selected=\"false\" "
            "selectedimage=\"file='opt.png' source='0,20,16,36'\" normalimage=\"file='opt.png' "
            "source='0,0,16,16'\"/>\n",
            indent.c_str(), serial, serial % 7, serial);
        break;
    default:
        std::snprintf(line, sizeof(line),
            "%s<!-- row %d: spacing and padding follow the grid -->\n%s<Control "
            "height=\"%d\" bkcolor=\"#00000000\"/>\n",
            indent.c_str(), serial, indent.c_str(), serial % 17 + 1);
        break;
    }
    out += line;
}

inline std::string MakeSkinDocument(size_t targetBytes)
{
    std::string out
        = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n"
          "<Window size=\"360,543\" caption=\"0,0,0,40\" roundcorner=\"4,4\" mininfo=\"360,543\">\n"
          "  <Font name=\"Microsoft YaHei\" size=\"12\" bold=\"false\" default=\"true\"/>\n"
          "  <Font name=\"Microsoft YaHei\" size=\"16\" bold=\"true\"/>\n"
          "  <Default name=\"Button\" value=\"height=&quot;32&quot; textcolor=&quot;#FF000000&quot;\"/>\n"
          "  <Image name=\"bk.jpg\" restype=\"ZIPRES\"/>\n"
          "  <VerticalLayout name=\"root\" bkimage=\"file='bk.jpg' corner='0,0,0,0'\" inset=\"10,10,10,10\">\n";
    const std::string close = "  </VerticalLayout>\n</Window>\n";
    int serial = 0;
    while (out.size() + close.size() < targetBytes) {
        // Groups of a horizontal layout holding a vertical one give skins their usual 3-5 levels.
        out += "    <HorizontalLayout height=\"60\" childpadding=\"5\">\n      <VerticalLayout>\n";
        for (int i = 0; i < 6 && out.size() + close.size() < targetBytes; ++i)
            AppendControl(out, serial++, 4);
        out += "      </VerticalLayout>\n      <Text name=\"caption\">Row caption &amp; more</Text>\n    "
               "</HorizontalLayout>\n";
    }
    return out + close;
}

}  // namespace bench
