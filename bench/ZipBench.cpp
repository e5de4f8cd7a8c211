// The skin archive reader against the work it cannot avoid: extracting a 4 MiB deflated entry
// against raw zlib inflate plus CRC-32 of the same bytes, and finding the last of 1,000 entries
// against a plain scan of the central directory comparing names.
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "skin/SkinZip.h"

namespace {

void Put16(std::string& out, unsigned v) { out.append({char(v & 0xFF), char(v >> 8 & 0xFF)}); }
void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct TEntry {
    std::string name;
    std::string data;  // as stored (deflated)
    uint32_t crc = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

std::string Deflate(const std::string& plain)
{
    z_stream z = {};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, plain.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// A zip of deflated entries: local headers, data, central directory and end record.
std::string MakeArchive(std::vector<TEntry>& entries)
{
    std::string zip;
    for (TEntry& e : entries) {
        e.offset = static_cast<uint32_t>(zip.size());
        Put32(zip, 0x04034b50);
        Put16(zip, 20), Put16(zip, 0), Put16(zip, 8), Put16(zip, 0), Put16(zip, 0x5821);
        Put32(zip, e.crc), Put32(zip, static_cast<uint32_t>(e.data.size())), Put32(zip, e.size);
        Put16(zip, static_cast<unsigned>(e.name.size())), Put16(zip, 0);
        zip += e.name + e.data;
    }
    const uint32_t directory = static_cast<uint32_t>(zip.size());
    for (const TEntry& e : entries) {
        Put32(zip, 0x02014b50);
        Put16(zip, 20), Put16(zip, 20), Put16(zip, 0), Put16(zip, 8), Put16(zip, 0), Put16(zip, 0x5821);
        Put32(zip, e.crc), Put32(zip, static_cast<uint32_t>(e.data.size())), Put32(zip, e.size);
        Put16(zip, static_cast<unsigned>(e.name.size())), Put16(zip, 0), Put16(zip, 0), Put16(zip, 0), Put16(zip, 0);
        Put32(zip, 0), Put32(zip, e.offset);
        zip += e.name;
    }
    const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directory;
    Put32(zip, 0x06054b50);
    Put16(zip, 0), Put16(zip, 0), Put16(zip, static_cast<unsigned>(entries.size()));
    Put16(zip, static_cast<unsigned>(entries.size()));
    Put32(zip, directorySize), Put32(zip, directory), Put16(zip, 0);
    return zip;
}

TEntry MakeEntry(const std::string& name, const std::string& plain)
{
    TEntry e;
    e.name = name;
    e.size = static_cast<uint32_t>(plain.size());
    e.crc = crc32(0, reinterpret_cast<const Bytef*>(plain.data()), static_cast<uInt>(plain.size()));
    e.data = Deflate(plain);
    return e;
}

// Compressible but not trivial: skin-like text with a counter in it.
std::string MakePlain(size_t bytes)
{
    std::string plain;
    plain.reserve(bytes + 64);
    for (unsigned i = 0; plain.size() < bytes; ++i)
        plain += "<Button name=\"b" + std::to_string(i * 2654435761u % 100000) + "\" pos=\"0,0,10,10\"/>\n";
    plain.resize(bytes);
    return plain;
}

void BenchExtract(const bench::TOptions& options)
{
    std::vector<TEntry> entries{MakeEntry("big.bin", MakePlain(options.quick ? 4096 : 4u << 20))};
    const std::string zip = MakeArchive(entries);
    std::vector<unsigned char> out(entries[0].size);
    bench::Print("zip extract 4MiB", "ours", bench::Measure(options.runs, [&] {
        SkinUI::HSKINZIP handle = SkinUI::CSkinZip::OpenFromMemory(zip.data(), static_cast<uint32_t>(zip.size()));
        int index = -1;
        SkinUI::CSkinZip::FindEntry(handle, "big.bin", &index, nullptr);
        bench::Consume(SkinUI::CSkinZip::ExtractEntry(handle, index, out.data(), static_cast<uint32_t>(out.size())));
        SkinUI::CSkinZip::Close(handle);
    }));
    bench::Print("zip extract 4MiB", "inflate+crc32", bench::Measure(options.runs, [&] {
        z_stream z = {};
        inflateInit2(&z, -15);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entries[0].data.data()));
        z.avail_in = static_cast<uInt>(entries[0].data.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        inflate(&z, Z_FINISH);
        inflateEnd(&z);
        bench::Consume(crc32(0, out.data(), static_cast<uInt>(out.size())));
    }));
}

// The reference reads the end record and walks the directory records by hand, as any reader must.
int PlainScan(const std::string& zip, const char* name)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(zip.data());
    const size_t end = zip.size() - 22;
    auto read16 = [&](size_t at) { return unsigned(bytes[at] | bytes[at + 1] << 8); };
    auto read32 = [&](size_t at) { return uint32_t(read16(at) | read16(at + 2) << 16); };
    const unsigned count = read16(end + 10);
    size_t at = read32(end + 16);
    const size_t nameLength = std::strlen(name);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned length = read16(at + 28);
        if (length == nameLength && _strnicmp(zip.data() + at + 46, name, length) == 0)
            return static_cast<int>(i);
        at += 46 + length + read16(at + 30) + read16(at + 32);
    }
    return -1;
}

void BenchFind(const bench::TOptions& options)
{
    std::vector<TEntry> entries;
    const int count = options.quick ? 10 : 1000;
    for (int i = 0; i < count; ++i)
        entries.push_back(MakeEntry("skin/images/image" + std::to_string(i) + ".png", "x"));
    const std::string zip = MakeArchive(entries);
    const std::string last = entries.back().name;
    SkinUI::HSKINZIP handle = SkinUI::CSkinZip::OpenFromMemory(zip.data(), static_cast<uint32_t>(zip.size()));
    bench::Print("zip find last of 1000", "ours", bench::MeasureBatched(options.runs, options.quick ? 1 : 200, [&] {
        int index = -1;
        SkinUI::CSkinZip::FindEntry(handle, last.c_str(), &index, nullptr);
        bench::Consume(static_cast<size_t>(index));
    }));
    bench::Print("zip find last of 1000", "plain scan",
        bench::MeasureBatched(options.runs, options.quick ? 1 : 200,
            [&] { bench::Consume(static_cast<size_t>(PlainScan(zip, last.c_str()))); }));
    SkinUI::CSkinZip::Close(handle);
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    BenchExtract(options);
    BenchFind(options);
    return 0;
}
