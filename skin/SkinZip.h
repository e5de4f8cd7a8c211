// CSkinZip: the small read-only zip reader behind skin packages.
//
// A skin package is one zip archive, held either in memory (the program's "ZIPRES" resource) or
// as a file in the skin folder. Callers hold an opaque HSKINZIP: open once, then FindEntry to learn
// an entry's index and uncompressed size, ExtractEntry into a buffer of that size, and Close.
// Entries are stored (method 0) or raw-deflated (method 8, zlib raw inflate); nothing else.
//
// Everything read from the archive is untrusted: every offset and size is checked against the
// archive's real length before use, nothing beyond a fixed 16 KB input buffer is allocated here
// from a size field, and an entry whose bytes do not match its recorded size or CRC-32 fails with
// ZipExtractFailed rather than handing back a partly filled buffer. Sizing the output buffer (and
// capping it) is the caller's job.
//
// Single-threaded: one handle serves one thread, and FindEntry closes any entry left open, so
// loads must not interleave.
#pragma once

#include <cstdint>

namespace SkinUI {

// Result codes. Loaders treat ZipOk and ZipMoreData as success.
typedef uint32_t ZipResult;
const ZipResult ZipOk = 0x00000000;  // done
const ZipResult ZipMoreData = 0x00000600;  // buffer filled (or entry complete); entry stays open
const ZipResult ZipNotFound = 0x00000500;  // no entry of that name
const ZipResult ZipCorrupt = 0x00000700;  // directory entry unreadable
const ZipResult ZipReadFailed = 0x00000800;  // read failure while reading entry information
const ZipResult ZipOpenFailed = 0x00000200;  // the archive could not be opened
const ZipResult ZipBadArguments = 0x00010000;  // null handle, index out of range, null buffer
const ZipResult ZipWrongHandle = 0x00080000;  // not a reader handle
const ZipResult ZipExtractFailed = 0x05000000;  // data unreadable, truncated, undecodable or CRC mismatch

// Description of one entry, as FindEntry reports it. Loaders use index and uncompressedSize.
struct TZipEntryInfo {
    int index;  // position in directory order, -1 when not found
    char name[260];  // entry name as stored (cut to 259 bytes)
    uint32_t attributes;  // FILE_ATTRIBUTE_* derived from the external attributes
    uint64_t accessTime;  // FILETIME values (all three from the DOS modification time)
    uint64_t creationTime;
    uint64_t modificationTime;
    uint32_t compressedSize;
    uint32_t uncompressedSize;
};

struct TSkinZipHandle;
typedef TSkinZipHandle* HSKINZIP;

class CSkinZip {
public:
    // The buffer is borrowed, not copied: it must stay valid and unchanged until Close.
    // Null when no end record is found or it is inconsistent (see LastResult).
    static HSKINZIP OpenFromMemory(const void* buffer, uint32_t size);
    // Opens the file with shared read access; it must exist.
    static HSKINZIP OpenFromFile(const char* path);

    // Name rules: '\' counts as '/', ASCII letters match either case, names of 256 bytes or more
    // are never found; the first match in directory order wins. Either out pointer may be null.
    // Not found: index -1 and a zeroed description with index -1.
    static ZipResult FindEntry(HSKINZIP zip, const char* name, int* index, TZipEntryInfo* entry);

    // Fills buffer with up to size bytes of the entry's data. ZipMoreData when the buffer was filled
    // or the entry's last byte (with matching CRC-32) was produced; a further call with the same
    // index continues, and answers ZipOk with nothing produced once the entry is exhausted.
    static ZipResult ExtractEntry(HSKINZIP zip, int index, void* buffer, uint32_t size);

    // Closes any open entry and frees the handle; a file is closed, a memory buffer is not freed.
    static ZipResult Close(HSKINZIP zip);

    // Result of the last open (ZipOk after a successful one).
    static ZipResult LastResult();
};

}  // namespace SkinUI
