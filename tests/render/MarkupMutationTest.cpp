// The markup layout's measure pass against mutated markup. The layout needs GDI and the host's
// fonts, which the native fuzzing shim does not have, so this is a plain mutation loop run here
// under Wine: the kept inputs of tests/fuzz/corpus/markup first, then mutations of them for a
// bounded time (QUORIL_MARKUP_FUZZ_SECONDS, default 10). Each text ends exactly at the end of a
// page followed by an inaccessible one, so reading past its terminator faults at once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

const size_t kPage = 4096;

// One text placed against a guard page.
class GuardedText {
public:
    GuardedText()
    {
        m_block = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (m_block != nullptr)
            VirtualProtect(m_block + kPage, kPage, PAGE_NOACCESS, &old);
    }
    ~GuardedText()
    {
        if (m_block != nullptr)
            VirtualFree(m_block, 0, MEM_RELEASE);
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    bool Ready() const { return m_block != nullptr; }
    // The text, cut to a page, with its terminator as the page's last byte.
    const char* Place(const std::string& text)
    {
        const size_t length = std::min(text.size(), kPage - 1);
        char* start = m_block + kPage - 1 - length;
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), start);
        start[length] = '\0';
        return start;
    }

private:
    char* m_block = nullptr;
};

std::vector<std::string> KeptInputs()
{
    const std::string folder = DataFolder() + "..\\..\\fuzz\\corpus\\markup\\";
    std::vector<std::string> inputs;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return inputs;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        std::ifstream in(folder + found.cFileName, std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return inputs;
}

// A small deterministic generator, so a failing run can be repeated.
class Mutator {
public:
    explicit Mutator(const std::vector<std::string>& pool)
        : m_pool(pool)
    {
    }

    std::string Next()
    {
        std::string text = m_pool[Below(m_pool.size())];
        for (size_t edits = 1 + Below(4); edits > 0; --edits)
            Edit(text);
        return text;
    }

private:
    size_t Below(size_t n)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return n == 0 ? 0 : static_cast<size_t>(m_state >> 33) % n;
    }

    void Edit(std::string& text)
    {
        static const char* const kTokens[] = {"<b>", "</b>", "<a ", "<a link>", "</a>", "<c #FF00FF00>", "</c>",
            "<f 1>", "<i ", "<i file='x.png'>", "<n>", "<p 5>", "<r>", "</r>", "<s>", "<u>", "<x 9>", "<{>", "{<}", "{",
            "}", "<", ">", "\n", "\x81", "\xB1\xED", " ", "'", "='"};
        const size_t at = Below(text.size() + 1);
        switch (Below(5)) {
        case 0:
            if (!text.empty())
                text[Below(text.size())] = static_cast<char>(Below(256));
            break;
        case 1:
            text.insert(at, kTokens[Below(sizeof(kTokens) / sizeof(kTokens[0]))]);
            break;
        case 2:
            text.erase(at, Below(8));
            break;
        case 3:
            text.insert(at, text.substr(Below(text.size() + 1), Below(16)));
            break;
        default:
            text = text.substr(0, at) + m_pool[Below(m_pool.size())];
            break;
        }
    }

    const std::vector<std::string>& m_pool;
    unsigned long long m_state = 0x5EED;
};

std::string Escaped(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F && c != '\\')
            out += static_cast<char>(c);
        else
            out += (std::snprintf(hex, sizeof(hex), "\\x%02X", c), hex);
    }
    return out;
}

// The text being measured, for the report of a crash (a fault ends the process before any
// assertion can name it).
const std::string* g_current = nullptr;

LONG WINAPI ReportCrashInput(EXCEPTION_POINTERS*)
{
    if (g_current != nullptr)
        std::fprintf(stderr, "markup: crashed on \"%s\"\n", Escaped(*g_current).c_str());
    return EXCEPTION_CONTINUE_SEARCH;
}

// Measures `text` in the shapes callers use; false when the link count leaves 0..capacity.
bool MeasureSurvives(HDC dc, TestHost& host, const char* text)
{
    static const struct {
        RECT rc;
        UINT style;
    } kShapes[] = {{{0, 0, 9999, 100}, 0}, {{0, 0, 7, 100}, DT_END_ELLIPSIS},
        {{0, 0, 120, 40}, DT_SINGLELINE | DT_CENTER}, {{5, 5, 60, 300}, DT_WORDBREAK | DT_VCENTER}};
    for (const auto& shape : kShapes) {
        RECT rc = shape.rc;
        RECT links[4] = {};
        CUIString texts[4];
        int count = 4;
        CRenderKit::PaintMarkupText(dc, &host, rc, text, 0xFF000000, links, texts, count, shape.style | DT_CALCRECT);
        if (count < 0 || count > 4)
            return false;
    }
    return true;
}

}  // namespace

TEST(MarkupMutation, MeasurePassSurvivesKeptAndMutatedMarkup)
{
    testbed::DibCanvas canvas(200, 100, 0xFFFFFFFF);
    TestHost host;
    host.SetPaintDc(canvas.Dc());
    GuardedText guarded;
    ASSERT_TRUE(guarded.Ready());
    const std::vector<std::string> kept = KeptInputs();
    ASSERT_GE(kept.size(), 10u) << "the kept markup inputs are missing";

    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(ReportCrashInput);
    for (const std::string& text : kept) {
        g_current = &text;
        ASSERT_TRUE(MeasureSurvives(canvas.Dc(), host, guarded.Place(text))) << Escaped(text);
    }

    const char* budget = std::getenv("QUORIL_MARKUP_FUZZ_SECONDS");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(budget ? std::atoi(budget) : 10);
    Mutator mutator(kept);
    long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        const std::string text = mutator.Next();
        g_current = &text;
        ASSERT_TRUE(MeasureSurvives(canvas.Dc(), host, guarded.Place(text))) << Escaped(text);
        ++runs;
    }
    g_current = nullptr;
    SetUnhandledExceptionFilter(previous);
    std::printf("markup: %zu kept inputs, %ld mutated runs\n", kept.size(), runs);
}
