#include "skin/SkinZip.h"

#include <windows.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace SkinUI {

namespace {

const uint32_t kHandleTag = 0x50495A53;  // "SZIP"
const uint32_t kInputBufferSize = 16384;
const uint32_t kEndRecordSize = 22;
const uint32_t kMaxCommentSize = 0xFFFF;
const uint32_t kDirectoryEntrySize = 46;
const uint32_t kLocalHeaderSize = 30;
const uint32_t kEndRecordSignature = 0x06054b50;
const uint32_t kDirectorySignature = 0x02014b50;
const uint32_t kLocalSignature = 0x04034b50;
const uint16_t kFlagDataDescriptor = 0x0008;
const uint16_t kMethodStored = 0;
const uint16_t kMethodDeflated = 8;
const size_t kMaxNameLength = 255;

ZipResult g_lastResult = ZipOk;

uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Read32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16)
        | (static_cast<uint32_t>(p[3]) << 24);
}

// Where the archive's bytes come from. Every read names an absolute position and is refused unless
// it lies wholly inside the archive, so no size field can make us read outside it.
class CZipSource {
public:
    CZipSource() = default;
    CZipSource(const CZipSource&) = delete;
    CZipSource& operator=(const CZipSource&) = delete;
    ~CZipSource()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }

    void UseMemory(const unsigned char* memory, uint32_t size)
    {
        m_memory = memory;
        m_length = size;
    }

    bool UseFile(const char* path)
    {
        m_file = ::CreateFileA(
            path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(m_file, &size) || size.QuadPart < 0)
            return false;
        m_length = static_cast<uint64_t>(size.QuadPart);
        return true;
    }

    uint64_t Length() const { return m_length; }

    bool ReadAt(uint64_t position, void* out, uint32_t count) const
    {
        if (position > m_length || count > m_length - position)
            return false;
        if (m_memory) {
            std::memcpy(out, m_memory + position, count);
            return true;
        }
        LARGE_INTEGER seek;
        seek.QuadPart = static_cast<LONGLONG>(position);
        if (!::SetFilePointerEx(m_file, seek, nullptr, FILE_BEGIN))
            return false;
        unsigned char* target = static_cast<unsigned char*>(out);
        while (count > 0) {
            DWORD got = 0;
            if (!::ReadFile(m_file, target, count, &got, nullptr) || got == 0)
                return false;
            target += got;
            count -= got;
        }
        return true;
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;  // owned
    const unsigned char* m_memory = nullptr;  // borrowed from the caller of OpenFromMemory
    uint64_t m_length = 0;
};

struct TDirectoryEntry {
    uint16_t versionMadeBy;
    uint16_t flags;
    uint16_t method;
    uint16_t dosTime;
    uint16_t dosDate;
    uint32_t crc;
    uint32_t compressedSize;
    uint32_t uncompressedSize;
    uint16_t nameLength;
    uint16_t extraLength;
    uint16_t commentLength;
    uint32_t externalAttributes;
    uint32_t localHeaderOffset;
};

}  // namespace

// Reader state behind a handle.
class CZipReader {
public:
    CZipReader() = default;
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;
    ~CZipReader() { CloseEntry(); }

    CZipSource source;

    ZipResult ReadEndRecord();
    ZipResult FindEntry(const char* name, int* index, TZipEntryInfo* entry);
    ZipResult ExtractEntry(int index, unsigned char* buffer, uint32_t size);

private:
    ZipResult ReadDirectoryEntry(uint64_t offset, TDirectoryEntry& entry) const;
    ZipResult GoToFirst();
    ZipResult GoToNext();
    ZipResult GoTo(uint32_t index);
    void Describe(const TDirectoryEntry& entry, uint32_t index, TZipEntryInfo& info) const;
    bool OpenEntry();
    void CloseEntry();
    bool FillInput();
    bool Produce(unsigned char* buffer, uint32_t want, uint32_t& produced);
    bool FinishEntry();

    // Central directory (absolute positions in the source, prepended bytes accounted for).
    uint32_t m_entryCount = 0;
    uint64_t m_directoryStart = 0;
    uint64_t m_directoryEnd = 0;  // the end record's position
    uint64_t m_adjustment = 0;  // bytes before the archive proper

    // Walk position.
    uint32_t m_currentIndex = 0;
    uint64_t m_currentOffset = 0;
    TDirectoryEntry m_current = {};

    // Entry open for extraction.
    int m_openIndex = -1;
    std::unique_ptr<unsigned char[]> m_input;
    uint32_t m_inputAvailable = 0;
    uint32_t m_inputOffset = 0;
    z_stream m_stream = {};
    bool m_inflating = false;
    bool m_streamEnded = false;
    bool m_verified = false;
    uint32_t m_crc = 0;
    uint32_t m_expectedCrc = 0;
    uint32_t m_compressedLeft = 0;
    uint32_t m_uncompressedLeft = 0;
    uint64_t m_readPosition = 0;
};

struct TSkinZipHandle {
    uint32_t tag;
    CZipReader* reader;
};

//--- Opening -------------------------------------------------------------------------------------

ZipResult CZipReader::ReadEndRecord()
{
    const uint64_t length = source.Length();
    if (length < kEndRecordSize)
        return ZipOpenFailed;
    // The record is followed by a comment of at most 0xFFFF bytes, so it starts within the last
    // 0xFFFF + 22 bytes; the last signature found wins, as a comment may itself contain one.
    const uint32_t tailSize
        = static_cast<uint32_t>(length < kMaxCommentSize + kEndRecordSize ? length : kMaxCommentSize + kEndRecordSize);
    const uint64_t tailStart = length - tailSize;
    std::vector<unsigned char> tail(tailSize);
    if (!source.ReadAt(tailStart, tail.data(), tailSize))
        return ZipOpenFailed;
    uint64_t recordPosition = 0;
    bool found = false;
    for (uint32_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        if (Read32(&tail[i]) == kEndRecordSignature) {
            recordPosition = tailStart + i;
            found = true;
            break;
        }
    }
    if (!found || recordPosition == 0)
        return ZipOpenFailed;

    const unsigned char* record = &tail[static_cast<size_t>(recordPosition - tailStart)];
    const uint16_t thisDisk = Read16(record + 4);
    const uint16_t directoryDisk = Read16(record + 6);
    const uint16_t entriesOnDisk = Read16(record + 8);
    const uint16_t totalEntries = Read16(record + 10);
    const uint32_t directorySize = Read32(record + 12);
    const uint32_t directoryOffset = Read32(record + 16);
    // Multi-part archives are not supported.
    if (thisDisk != 0 || directoryDisk != 0 || entriesOnDisk != totalEntries)
        return ZipOpenFailed;
    const uint64_t directoryEnd = static_cast<uint64_t>(directoryOffset) + directorySize;
    if (directoryEnd > recordPosition)
        return ZipOpenFailed;

    m_entryCount = totalEntries;
    m_adjustment = recordPosition - directoryEnd;
    m_directoryStart = m_adjustment + directoryOffset;
    m_directoryEnd = recordPosition;
    if (m_entryCount > 0 && GoToFirst() != ZipOk)
        return ZipCorrupt;
    return ZipOk;
}

//--- Directory walk ------------------------------------------------------------------------------

ZipResult CZipReader::ReadDirectoryEntry(uint64_t offset, TDirectoryEntry& entry) const
{
    unsigned char raw[kDirectoryEntrySize];
    if (offset + kDirectoryEntrySize > m_directoryEnd)
        return ZipCorrupt;
    if (!source.ReadAt(offset, raw, kDirectoryEntrySize))
        return ZipReadFailed;
    if (Read32(raw) != kDirectorySignature)
        return ZipCorrupt;
    entry.versionMadeBy = Read16(raw + 4);
    entry.flags = Read16(raw + 8);
    entry.method = Read16(raw + 10);
    entry.dosTime = Read16(raw + 12);
    entry.dosDate = Read16(raw + 14);
    entry.crc = Read32(raw + 16);
    entry.compressedSize = Read32(raw + 20);
    entry.uncompressedSize = Read32(raw + 24);
    entry.nameLength = Read16(raw + 28);
    entry.extraLength = Read16(raw + 30);
    entry.commentLength = Read16(raw + 32);
    entry.externalAttributes = Read32(raw + 38);
    entry.localHeaderOffset = Read32(raw + 42);
    if (offset + kDirectoryEntrySize + entry.nameLength > m_directoryEnd)
        return ZipCorrupt;
    return ZipOk;
}

ZipResult CZipReader::GoToFirst()
{
    m_currentIndex = 0;
    m_currentOffset = m_directoryStart;
    return ReadDirectoryEntry(m_currentOffset, m_current);
}

ZipResult CZipReader::GoToNext()
{
    if (m_currentIndex + 1 >= m_entryCount)
        return ZipNotFound;
    const uint64_t next = m_currentOffset + kDirectoryEntrySize + m_current.nameLength + m_current.extraLength
        + m_current.commentLength;
    TDirectoryEntry entry;
    const ZipResult result = ReadDirectoryEntry(next, entry);
    if (result != ZipOk)
        return result;
    m_currentIndex++;
    m_currentOffset = next;
    m_current = entry;
    return ZipOk;
}

ZipResult CZipReader::GoTo(uint32_t index)
{
    if (index < m_currentIndex) {
        const ZipResult result = GoToFirst();
        if (result != ZipOk)
            return result;
    }
    while (m_currentIndex < index) {
        const ZipResult result = GoToNext();
        if (result != ZipOk)
            return result;
    }
    return ZipOk;
}

void CZipReader::Describe(const TDirectoryEntry& entry, uint32_t index, TZipEntryInfo& info) const
{
    std::memset(&info, 0, sizeof(info));
    info.index = static_cast<int>(index);
    const uint32_t copy = entry.nameLength < sizeof(info.name) - 1 ? entry.nameLength : sizeof(info.name) - 1;
    if (!source.ReadAt(m_currentOffset + kDirectoryEntrySize, info.name, copy))
        info.name[0] = '\0';
    // Archives made on DOS/Windows keep the file attributes in the low byte; elsewhere only the
    // directory bit is worth deriving (from the name's trailing slash).
    const uint32_t dosAttributes = (entry.versionMadeBy >> 8) == 0 ? (entry.externalAttributes & 0x37) : 0;
    info.attributes = dosAttributes;
    if (copy > 0 && info.name[copy - 1] == '/')
        info.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (info.attributes == 0)
        info.attributes = FILE_ATTRIBUTE_ARCHIVE;
    FILETIME local, utc;
    if (::DosDateTimeToFileTime(entry.dosDate, entry.dosTime, &local) && ::LocalFileTimeToFileTime(&local, &utc)) {
        const uint64_t time = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
        info.accessTime = info.creationTime = info.modificationTime = time;
    }
    info.compressedSize = entry.compressedSize;
    info.uncompressedSize = entry.uncompressedSize;
}

ZipResult CZipReader::FindEntry(const char* name, int* index, TZipEntryInfo* entry)
{
    if (index)
        *index = -1;
    if (entry) {
        std::memset(entry, 0, sizeof(*entry));
        entry->index = -1;
    }
    const size_t length = std::strlen(name);
    if (length > kMaxNameLength || m_entryCount == 0)
        return ZipNotFound;
    char wanted[kMaxNameLength + 1];
    for (size_t i = 0; i <= length; ++i)
        wanted[i] = name[i] == '\\' ? '/' : name[i];

    const uint32_t savedIndex = m_currentIndex;
    const uint64_t savedOffset = m_currentOffset;
    const TDirectoryEntry savedEntry = m_current;
    ZipResult result = GoToFirst();
    while (result == ZipOk) {
        if (m_current.nameLength == length) {
            char stored[kMaxNameLength + 1];
            if (!source.ReadAt(m_currentOffset + kDirectoryEntrySize, stored, static_cast<uint32_t>(length))) {
                result = ZipReadFailed;
                break;
            }
            bool equal = true;
            for (size_t i = 0; i < length && equal; ++i) {
                char a = stored[i], b = wanted[i];
                if (a >= 'A' && a <= 'Z')
                    a = static_cast<char>(a - 'A' + 'a');
                if (b >= 'A' && b <= 'Z')
                    b = static_cast<char>(b - 'A' + 'a');
                equal = a == b;
            }
            if (equal) {
                CloseEntry();
                if (index)
                    *index = static_cast<int>(m_currentIndex);
                if (entry)
                    Describe(m_current, m_currentIndex, *entry);
                return ZipOk;
            }
        }
        result = GoToNext();
    }
    m_currentIndex = savedIndex;
    m_currentOffset = savedOffset;
    m_current = savedEntry;
    return result == ZipNotFound ? ZipNotFound : result;
}

//--- Extraction ----------------------------------------------------------------------------------

bool CZipReader::OpenEntry()
{
    const TDirectoryEntry& entry = m_current;
    if (entry.method != kMethodStored && entry.method != kMethodDeflated)
        return false;
    const uint64_t localOffset = m_adjustment + entry.localHeaderOffset;
    unsigned char raw[kLocalHeaderSize];
    if (!source.ReadAt(localOffset, raw, kLocalHeaderSize))
        return false;
    if (Read32(raw) != kLocalSignature)
        return false;
    const uint16_t flags = Read16(raw + 6);
    if (Read16(raw + 8) != entry.method)
        return false;
    if (!(flags & kFlagDataDescriptor)
        && (Read32(raw + 14) != entry.crc || Read32(raw + 18) != entry.compressedSize
            || Read32(raw + 22) != entry.uncompressedSize)) {
        return false;
    }
    const uint64_t dataStart = localOffset + kLocalHeaderSize + Read16(raw + 26) + Read16(raw + 28);
    if (dataStart > source.Length() || entry.compressedSize > source.Length() - dataStart)
        return false;
    if (entry.method == kMethodStored && entry.compressedSize != entry.uncompressedSize)
        return false;

    m_input.reset(new (std::nothrow) unsigned char[kInputBufferSize]);
    if (!m_input)
        return false;
    if (entry.method == kMethodDeflated) {
        std::memset(&m_stream, 0, sizeof(m_stream));
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
            return false;
        m_inflating = true;
    }
    m_openIndex = static_cast<int>(m_currentIndex);
    m_inputAvailable = 0;
    m_inputOffset = 0;
    m_streamEnded = false;
    m_verified = false;
    m_crc = crc32(0L, Z_NULL, 0);
    m_expectedCrc = entry.crc;
    m_compressedLeft = entry.compressedSize;
    m_uncompressedLeft = entry.uncompressedSize;
    m_readPosition = dataStart;
    return true;
}

void CZipReader::CloseEntry()
{
    if (m_inflating)
        inflateEnd(&m_stream);
    m_inflating = false;
    m_input.reset();
    m_openIndex = -1;
}

bool CZipReader::FillInput()
{
    if (m_inputAvailable > 0 || m_compressedLeft == 0)
        return true;
    const uint32_t count = m_compressedLeft < kInputBufferSize ? m_compressedLeft : kInputBufferSize;
    if (!source.ReadAt(m_readPosition, m_input.get(), count))
        return false;
    m_readPosition += count;
    m_compressedLeft -= count;
    m_inputOffset = 0;
    m_inputAvailable = count;
    return true;
}

// Produces exactly `want` bytes, or fails: data that ends or breaks early is never passed off as
// a partial success.
bool CZipReader::Produce(unsigned char* buffer, uint32_t want, uint32_t& produced)
{
    produced = 0;
    while (produced < want) {
        if (!FillInput())
            return false;
        if (!m_inflating) {
            if (m_inputAvailable == 0)
                return false;
            const uint32_t count = m_inputAvailable < want - produced ? m_inputAvailable : want - produced;
            std::memcpy(buffer + produced, m_input.get() + m_inputOffset, count);
            m_inputOffset += count;
            m_inputAvailable -= count;
            produced += count;
            continue;
        }
        if (m_streamEnded)
            return false;
        m_stream.next_in = m_input.get() + m_inputOffset;
        m_stream.avail_in = m_inputAvailable;
        m_stream.next_out = buffer + produced;
        m_stream.avail_out = want - produced;
        const int rc = inflate(&m_stream, Z_SYNC_FLUSH);
        const uint32_t consumed = m_inputAvailable - m_stream.avail_in;
        m_inputOffset += consumed;
        m_inputAvailable -= consumed;
        produced = want - m_stream.avail_out;
        if (rc == Z_STREAM_END) {
            m_streamEnded = true;
        } else if (rc != Z_OK && !(rc == Z_BUF_ERROR && m_inputAvailable == 0 && m_compressedLeft > 0)) {
            return false;
        }
    }
    return true;
}

// Once the last declared byte is out: the deflate stream must end right there (no hidden tail
// beyond the recorded size), and the CRC-32 must match.
bool CZipReader::FinishEntry()
{
    if (m_inflating) {
        while (!m_streamEnded) {
            if (!FillInput())
                return false;
            unsigned char extra;
            m_stream.next_in = m_input.get() + m_inputOffset;
            m_stream.avail_in = m_inputAvailable;
            m_stream.next_out = &extra;
            m_stream.avail_out = 1;
            const int rc = inflate(&m_stream, Z_SYNC_FLUSH);
            const uint32_t consumed = m_inputAvailable - m_stream.avail_in;
            m_inputOffset += consumed;
            m_inputAvailable -= consumed;
            if (m_stream.avail_out == 0)
                return false;
            if (rc == Z_STREAM_END) {
                m_streamEnded = true;
            } else if (rc != Z_OK && !(rc == Z_BUF_ERROR && m_inputAvailable == 0 && m_compressedLeft > 0)) {
                return false;
            }
        }
    }
    return m_crc == m_expectedCrc;
}

ZipResult CZipReader::ExtractEntry(int index, unsigned char* buffer, uint32_t size)
{
    if (index < 0 || static_cast<uint32_t>(index) >= m_entryCount) {
        CloseEntry();
        return ZipBadArguments;
    }
    if (index != m_openIndex) {
        CloseEntry();
        if (GoTo(static_cast<uint32_t>(index)) != ZipOk || !OpenEntry()) {
            CloseEntry();
            return ZipExtractFailed;
        }
    }
    if (size == 0 && m_uncompressedLeft > 0)
        return ZipBadArguments;
    const uint32_t want = size < m_uncompressedLeft ? size : m_uncompressedLeft;
    uint32_t produced = 0;
    const bool ok = Produce(buffer, want, produced);
    if (produced > 0)
        m_crc = crc32(m_crc, buffer, produced);
    m_uncompressedLeft -= produced;
    if (!ok || (m_uncompressedLeft == 0 && !m_verified && !FinishEntry())) {
        CloseEntry();
        return ZipExtractFailed;
    }
    m_verified = m_uncompressedLeft == 0;
    if (produced > 0)
        return ZipMoreData;
    CloseEntry();
    return ZipOk;
}

//--- Handles -------------------------------------------------------------------------------------

namespace {

HSKINZIP Wrap(std::unique_ptr<CZipReader> reader)
{
    g_lastResult = reader->ReadEndRecord();
    if (g_lastResult != ZipOk)
        return nullptr;
    HSKINZIP handle = new (std::nothrow) TSkinZipHandle;
    if (!handle) {
        g_lastResult = ZipOpenFailed;
        return nullptr;
    }
    handle->tag = kHandleTag;
    handle->reader = reader.release();
    return handle;
}

ZipResult CheckHandle(HSKINZIP zip)
{
    if (!zip)
        return ZipBadArguments;
    if (zip->tag != kHandleTag || !zip->reader)
        return ZipWrongHandle;
    return ZipOk;
}

}  // namespace

HSKINZIP CSkinZip::OpenFromMemory(const void* buffer, uint32_t size)
{
    if (!buffer) {
        g_lastResult = ZipBadArguments;
        return nullptr;
    }
    std::unique_ptr<CZipReader> reader(new (std::nothrow) CZipReader);
    if (!reader) {
        g_lastResult = ZipOpenFailed;
        return nullptr;
    }
    reader->source.UseMemory(static_cast<const unsigned char*>(buffer), size);
    return Wrap(std::move(reader));
}

HSKINZIP CSkinZip::OpenFromFile(const char* path)
{
    if (!path) {
        g_lastResult = ZipBadArguments;
        return nullptr;
    }
    std::unique_ptr<CZipReader> reader(new (std::nothrow) CZipReader);
    if (!reader || !reader->source.UseFile(path)) {
        g_lastResult = ZipOpenFailed;
        return nullptr;
    }
    return Wrap(std::move(reader));
}

ZipResult CSkinZip::FindEntry(HSKINZIP zip, const char* name, int* index, TZipEntryInfo* entry)
{
    const ZipResult check = CheckHandle(zip);
    if (check != ZipOk)
        return check;
    if (!name)
        return ZipBadArguments;
    return zip->reader->FindEntry(name, index, entry);
}

ZipResult CSkinZip::ExtractEntry(HSKINZIP zip, int index, void* buffer, uint32_t size)
{
    const ZipResult check = CheckHandle(zip);
    if (check != ZipOk)
        return check;
    if (!buffer && size > 0)
        return ZipBadArguments;
    return zip->reader->ExtractEntry(index, static_cast<unsigned char*>(buffer), size);
}

ZipResult CSkinZip::Close(HSKINZIP zip)
{
    const ZipResult check = CheckHandle(zip);
    if (check != ZipOk)
        return check;
    delete zip->reader;
    zip->tag = 0;
    zip->reader = nullptr;
    delete zip;
    return ZipOk;
}

ZipResult CSkinZip::LastResult() { return g_lastResult; }

}  // namespace SkinUI
