// CResourceLocation: where skin files come from, for the whole process.
//
// One copy per process, written at start-up on the UI thread and read afterwards without locking:
// the module instance (executable resources, its folder), an optional separate resource module,
// the folder of loose skin files, and the skin archive: its name relative to the folder, or
// "membuffer" for an archive held in memory, plus the one archive handle kept open for the life of
// the program. The application closes that handle on its exit path (CloseSkinArchive).
//
// ReadSkinFile is the one look-up every skin file goes through (layouts and images), in the order
// program resource, skin archive, skin folder, plain path. Its result says which step failed, so
// the XML loader can name the failure and the image loader can simply drop the image.
#pragma once

#include <windows.h>
#include <cstddef>
#include <memory>

#include "core/UIString.h"
#include "skin/SkinZip.h"

namespace SkinUI {

// Largest layout document and largest image file a skin may hold.
const size_t kSkinLayoutMaxBytes = 0x400000;
const size_t kSkinImageMaxBytes = 64u * 1024u * 1024u;
// Largest decoded image (width x height): a small file may declare a huge picture.
const size_t kSkinImageMaxPixels = 64u * 1024u * 1024u;

enum class SkinFileStatus {
    Found,
    ResourceMissing,  // resource type given: no such resource, or it is empty
    ArchiveOpenFailed,  // archive mode: no cached archive and the archive file cannot be opened
    EntryNotFound,  // archive mode: no entry of that name
    Empty,  // the entry, file or resource holds no bytes
    TooLarge,  // above the caller's limit
    ExtractFailed,  // archive mode: entry data truncated, undecodable or failing its CRC-32
    FileOpenFailed,  // folder or plain path: the file cannot be opened
    FileReadFailed,  // folder or plain path: fewer bytes than the file's size arrived
};

// The bytes of one skin file; owned here, freed with the object.
struct TSkinFileBytes {
    std::unique_ptr<unsigned char[]> data;
    size_t size = 0;
};

class CResourceLocation {
public:
    static void SetModuleInstance(HINSTANCE instance);
    static HINSTANCE GetModuleInstance();
    static void SetResourceInstance(HINSTANCE instance);
    // The resource module, or the module instance when none is set.
    static HINSTANCE GetResourceInstance();
    // The module's file name cut after its last '\' (kept); empty without a module instance.
    static CUIString GetInstanceFolder();

    // Stored with a trailing '\' appended unless empty or already ending in '\' or '/'.
    static void SetResourceFolder(const char* folder);
    static const CUIString& GetResourceFolder();

    // Opens resource folder + name as the cached archive, unless that name is already cached.
    // An empty name switches archive mode off. A failed open leaves a null handle; loaders then
    // open the file per load.
    static void SetSkinArchive(const char* name);
    // Caches an archive held in memory under the name "membuffer"; ignored while an archive held
    // in memory is already set. The block stays the caller's and must outlive the archive
    // (CloseSkinArchive).
    static void SetSkinArchiveMemory(const void* block, uint32_t size);
    // The block the archive held in memory was set from (whether or not it opened), or null. Its
    // owner, and only its owner, closes the archive before freeing the block.
    static const void* GetSkinArchiveBlock();
    static const CUIString& GetSkinArchiveName();
    static bool IsSkinArchiveCached();
    static HSKINZIP GetSkinArchiveHandle();
    // Exit path: closes the cached archive and leaves archive mode (name empty, nothing cached).
    static void CloseSkinArchive();

    // Finds the bytes of one skin file:
    // 1. resourceType given: resource `name` (a string or MAKEINTRESOURCE id) of that type in the
    //    resource module; when it is missing nothing else is tried.
    // 2. archive name set: the entry `name` of the cached archive, or of the archive file opened
    //    for this call (never a file called "membuffer");
    // 3. no archive name: the file resource folder + name;
    // 4. plainPathLastResort: after a failed step 2 or 3, the file `name` as given.
    // Anything larger than maxBytes (or INT_MAX) is refused before it is allocated. On failure
    // `out` is empty and the status names the step that failed (step 2 or 3 when 4 fails too).
    static SkinFileStatus ReadSkinFile(
        const char* name, const char* resourceType, size_t maxBytes, bool plainPathLastResort, TSkinFileBytes& out);
};

}  // namespace SkinUI
