// A skin of 10,000 labels nested four levels deep in vertical and horizontal layouts (11,111
// controls): parsing the document, building the control tree from it (parsing included, as a
// window does), and its first layout and paint in a window. The system has no skin to compare
// with; the figures stand alone. Two sizes, the second ten times the first, show the growth.
#include <windows.h>

#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchWindows.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinXml.h"

namespace {

// `fanout` children at each of four levels: fanout^4 labels.
std::string NestedSkin(int fanout)
{
    const char* kinds[] = {"VerticalLayout", "HorizontalLayout", "VerticalLayout"};
    std::string xml = "<Window size=\"800,600\"><VerticalLayout>";
    int number = 0;
    auto level = [&](auto& self, int depth) -> void {
        for (int i = 0; i < fanout; ++i) {
            if (depth == 3) {
                xml += "<Label text=\"label " + std::to_string(number++) + "\" height=\"2\"/>";
                continue;
            }
            xml += std::string("<") + kinds[depth] + ">";
            self(self, depth + 1);
            xml += std::string("</") + kinds[depth] + ">";
        }
    };
    level(level, 0);
    return xml + "</VerticalLayout></Window>";
}

void Measure(int fanout, int repeats)
{
    const std::string xml = NestedSkin(fanout);
    std::vector<double> parse, build, layout;
    for (int r = 0; r < repeats; ++r) {
        bench::Clock::time_point start = bench::Clock::now();
        {
            SkinUI::CSkinXml document;
            bench::Consume(document.LoadFromText(xml.c_str()) ? document.ElementCount() : 0);
        }
        parse.push_back(bench::MicrosecondsSince(start));
        bench::CHostWindow window(800, 600);
        start = bench::Clock::now();
        SkinUI::CSkinBuilder builder;
        SkinUI::CControlUI* root = builder.BuildFrom(xml.c_str(), nullptr, nullptr, &window.Host(), nullptr);
        build.push_back(bench::MicrosecondsSince(start));
        start = bench::Clock::now();
        window.Host().AttachRoot(root);
        bench::PaintNow(window.Hwnd());
        layout.push_back(bench::MicrosecondsSince(start));
    }
    const std::string prefix = "skin " + std::to_string(fanout * fanout * fanout * fanout) + " nested labels ";
    bench::Print((prefix + "parse").c_str(), "ours", bench::Summarize(parse));
    bench::Print((prefix + "build").c_str(), "ours", bench::Summarize(build));
    bench::Print((prefix + "first layout").c_str(), "ours", bench::Summarize(layout));
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    const int repeats = options.quick ? 1 : 5;
    if (options.quick) {
        Measure(3, repeats);
        return 0;
    }
    Measure(6, repeats);  // 1,296 labels
    Measure(10, repeats);  // 10,000 labels
    return 0;
}
