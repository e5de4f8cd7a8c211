#include "RenderTestSupport.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/ResourceLocation.h"
#include "stb_image.h"

namespace rendertest {

namespace {

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    Put32(out, static_cast<uint32_t>(crc));
}

std::string ExeFolder()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace

Image SolidImage(int width, int height, uint32_t argb)
{
    Image image;
    image.width = width;
    image.height = height;
    image.argb.assign(static_cast<size_t>(width) * height, argb);
    return image;
}

std::vector<unsigned char> EncodePng(const Image& image)
{
    std::vector<unsigned char> raw;  // filter byte 0 and RGBA per row
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.argb[static_cast<size_t>(y) * image.width + x];
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
            raw.push_back(static_cast<unsigned char>(p >> 24));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    Put32(header, static_cast<uint32_t>(image.width));
    Put32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string WritePng(const std::string& name, const Image& image)
{
    WriteFile(ScratchFolder() + name, EncodePng(image));
    return name;
}

const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        std::string f = std::string(temp) + "quoril-render-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(f.c_str(), nullptr);
        return f;
    }();
    return folder;
}

std::string DataFolder() { return ExeFolder() + "..\\..\\..\\tests\\render\\data\\"; }
std::string SkinResourceFolder() { return ExeFolder() + "..\\..\\..\\resources\\"; }

std::string WithoutMsimg32ResultFile()
{
    char value[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableA(kWithoutMsimg32, value, sizeof(value));
    return n > 0 && n < sizeof(value) ? std::string(value, n) : std::string();
}

int CountRgb(const testbed::DibCanvas& canvas, uint32_t rgb, const RECT& area)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            n += Rgb(canvas.Pixel(x, y)) == rgb;
    }
    return n;
}

int CountApart(const testbed::DibCanvas& a, const testbed::DibCanvas& b, const RECT& area, int step, int tolerance)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; y += step) {
        for (int x = area.left; x < area.right; x += step) {
            const uint32_t p = a.Pixel(x, y);
            const uint32_t q = b.Pixel(x, y);
            bool apart = false;
            for (int shift = 0; shift <= 16; shift += 8)
                apart = apart
                    || std::abs(static_cast<int>(p >> shift & 0xFF) - static_cast<int>(q >> shift & 0xFF)) > tolerance;
            n += apart ? 1 : 0;
        }
    }
    return n;
}

Image FromCanvas(const testbed::DibCanvas& canvas)
{
    Image image = SolidImage(canvas.Width(), canvas.Height(), 0);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x)
            image.At(x, y) = canvas.Pixel(x, y) | 0xFF000000u;
    }
    return image;
}

Image LoadPng(const std::string& path)
{
    Image image;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return image;
    std::vector<unsigned char> bytes;
    unsigned char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    int w = 0, h = 0, c = 0;
    unsigned char* px = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &c, 4);
    if (px == nullptr)
        return image;
    image = SolidImage(w, h, 0);
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const unsigned char* p = px + i * 4;
        image.argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    stbi_image_free(px);
    return image;
}

::testing::AssertionResult MatchesReference(
    const testbed::DibCanvas& canvas, const std::string& name, int channelTolerance, int maxBadPixels)
{
    const Image actual = FromCanvas(canvas);
    const std::string path = DataFolder() + name;
    const char* write = std::getenv("QUORIL_WRITE_REFERENCES");
    if (write != nullptr && std::strcmp(write, "1") == 0) {
        if (!WriteFile(path, EncodePng(actual)))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess() << "written";
    }
    const Image expected = LoadPng(path);
    if (expected.width != actual.width || expected.height != actual.height) {
        return ::testing::AssertionFailure() << "reference " << path << " missing or of another size";
    }
    int bad = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const uint32_t a = actual.argb[static_cast<size_t>(y) * actual.width + x];
            const uint32_t e = expected.argb[static_cast<size_t>(y) * actual.width + x];
            for (int sh = 0; sh <= 16; sh += 8) {
                const int d = static_cast<int>((a >> sh) & 0xFF) - static_cast<int>((e >> sh) & 0xFF);
                if (d > channelTolerance || -d > channelTolerance) {
                    if (bad++ == 0) {
                        firstX = x;
                        firstY = y;
                    }
                    break;
                }
            }
        }
    }
    if (bad > maxBadPixels) {
        const std::string saved = ExeFolder() + name + ".actual.bmp";
        canvas.SaveBmp(saved.c_str());
        return ::testing::AssertionFailure() << bad << " pixels differ from " << name << " (first at " << firstX << ","
                                             << firstY << "); drawing saved as " << saved;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace rendertest

namespace rendertest {
namespace {

// Every test runs with the scratch folder as the skin folder; it is emptied at the end. The kit
// only uses a msimg32 the process has loaded already, so the run loads it first, as the first
// window host of a program does, unless it is a child run that checks the kit without it.
class ScratchEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!RunsWithoutMsimg32())
            LoadLibraryExA("msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        SkinUI::CResourceLocation::SetResourceFolder(ScratchFolder().c_str());
    }
    void TearDown() override
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((ScratchFolder() + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    DeleteFileA((ScratchFolder() + data.cFileName).c_str());
                }
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(ScratchFolder().c_str());
    }
};

::testing::Environment* const g_scratch = ::testing::AddGlobalTestEnvironment(new ScratchEnvironment);

}  // namespace
}  // namespace rendertest
