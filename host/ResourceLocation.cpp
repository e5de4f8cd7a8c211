#include "host/ResourceLocation.h"

#include <climits>
#include <cstring>
#include <new>

namespace SkinUI {

namespace {

// The name under which an archive held in memory is reported; it is never a file.
const char kMemoryArchiveName[] = "membuffer";

struct TLocationState {
    HINSTANCE moduleInstance = nullptr;
    HINSTANCE resourceInstance = nullptr;
    CUIString resourceFolder;
    CUIString archiveName;
    bool archiveCached = false;
    HSKINZIP archive = nullptr;  // owned; closed by CloseSkinArchive or on replacement
    const void* archiveBlock = nullptr;  // not owned; the block of an archive held in memory
};

TLocationState& State()
{
    static TLocationState state;
    return state;
}

void CloseCachedArchive()
{
    TLocationState& state = State();
    if (state.archive)
        CSkinZip::Close(state.archive);
    state.archive = nullptr;
    state.archiveCached = false;
    state.archiveBlock = nullptr;
}

bool Allocate(TSkinFileBytes& out, size_t size)
{
    out.data.reset(new (std::nothrow) unsigned char[size]);
    out.size = out.data ? size : 0;
    return out.data != nullptr;
}

SkinFileStatus ReadWholeFile(const char* path, size_t maxBytes, TSkinFileBytes& out)
{
    HANDLE file
        = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SkinFileStatus::FileOpenFailed;
    SkinFileStatus status = SkinFileStatus::Found;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        status = SkinFileStatus::FileReadFailed;
    } else if (size.QuadPart == 0) {
        status = SkinFileStatus::Empty;
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        status = SkinFileStatus::TooLarge;
    } else if (!Allocate(out, static_cast<size_t>(size.QuadPart))) {
        status = SkinFileStatus::TooLarge;
    } else {
        size_t done = 0;
        while (done < out.size) {
            DWORD got = 0;
            if (!::ReadFile(file, out.data.get() + done, static_cast<DWORD>(out.size - done), &got, nullptr)
                || got == 0) {
                break;
            }
            done += got;
        }
        if (done < out.size)
            status = SkinFileStatus::FileReadFailed;
    }
    ::CloseHandle(file);
    if (status != SkinFileStatus::Found)
        out = TSkinFileBytes();
    return status;
}

SkinFileStatus ReadResource(const char* name, const char* type, size_t maxBytes, TSkinFileBytes& out)
{
    HINSTANCE module = CResourceLocation::GetResourceInstance();
    HRSRC resource = ::FindResourceA(module, name, type);
    if (!resource)
        return SkinFileStatus::ResourceMissing;
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = size ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return SkinFileStatus::ResourceMissing;
    if (size > maxBytes)
        return SkinFileStatus::TooLarge;
    if (!Allocate(out, size))
        return SkinFileStatus::TooLarge;
    std::memcpy(out.data.get(), bytes, size);
    return SkinFileStatus::Found;
}

SkinFileStatus ReadArchiveEntry(HSKINZIP zip, const char* name, size_t maxBytes, TSkinFileBytes& out)
{
    int index = -1;
    TZipEntryInfo entry;
    if (CSkinZip::FindEntry(zip, name, &index, &entry) != ZipOk)
        return SkinFileStatus::EntryNotFound;
    if (entry.uncompressedSize == 0)
        return SkinFileStatus::Empty;
    if (entry.uncompressedSize > maxBytes)
        return SkinFileStatus::TooLarge;
    if (!Allocate(out, entry.uncompressedSize))
        return SkinFileStatus::TooLarge;
    const ZipResult result = CSkinZip::ExtractEntry(zip, index, out.data.get(), entry.uncompressedSize);
    if (result != ZipOk && result != ZipMoreData) {
        out = TSkinFileBytes();
        return SkinFileStatus::ExtractFailed;
    }
    return SkinFileStatus::Found;
}

SkinFileStatus ReadFromArchive(const char* name, size_t maxBytes, TSkinFileBytes& out)
{
    const TLocationState& state = State();
    if (state.archiveCached && state.archive)
        return ReadArchiveEntry(state.archive, name, maxBytes, out);
    // An archive held in memory that failed to open has no file to fall back to.
    if (state.archiveBlock != nullptr)
        return SkinFileStatus::ArchiveOpenFailed;
    HSKINZIP zip = CSkinZip::OpenFromFile(state.resourceFolder + state.archiveName);
    if (!zip)
        return SkinFileStatus::ArchiveOpenFailed;
    const SkinFileStatus status = ReadArchiveEntry(zip, name, maxBytes, out);
    CSkinZip::Close(zip);
    return status;
}

}  // namespace

void CResourceLocation::SetModuleInstance(HINSTANCE instance) { State().moduleInstance = instance; }

HINSTANCE CResourceLocation::GetModuleInstance() { return State().moduleInstance; }

void CResourceLocation::SetResourceInstance(HINSTANCE instance) { State().resourceInstance = instance; }

HINSTANCE CResourceLocation::GetResourceInstance()
{
    const TLocationState& state = State();
    return state.resourceInstance ? state.resourceInstance : state.moduleInstance;
}

CUIString CResourceLocation::GetInstanceFolder()
{
    const HINSTANCE module = State().moduleInstance;
    if (!module)
        return CUIString();
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, sizeof(path));
    // A cut name may come back unterminated.
    path[length < MAX_PATH ? length : MAX_PATH] = '\0';
    // Step whole characters so a double-byte trail byte of 0x5C is not taken for a separator.
    const char* cut = nullptr;
    for (const char* p = path; *p; p = ::CharNextA(p)) {
        if (*p == '\\')
            cut = p + 1;
    }
    return cut ? CUIString(path, static_cast<int>(cut - path)) : CUIString(path);
}

void CResourceLocation::SetResourceFolder(const char* folder)
{
    CUIString& stored = State().resourceFolder;
    stored = folder;
    if (stored.IsEmpty())
        return;
    // The last character, found by stepping whole characters of the ANSI code page.
    const char* last = stored.GetData();
    for (const char* p = last; *p; p = ::CharNextA(p))
        last = p;
    if (*last != '\\' && *last != '/')
        stored.AppendChar('\\');
}

const CUIString& CResourceLocation::GetResourceFolder() { return State().resourceFolder; }

void CResourceLocation::SetSkinArchive(const char* name)
{
    TLocationState& state = State();
    if (state.archiveCached && state.archiveName == (name ? name : ""))
        return;
    CloseCachedArchive();
    state.archiveName = name;
    if (state.archiveName.IsEmpty())
        return;
    state.archiveCached = true;
    state.archive = CSkinZip::OpenFromFile(state.resourceFolder + state.archiveName);
}

void CResourceLocation::SetSkinArchiveMemory(const void* block, uint32_t size)
{
    TLocationState& state = State();
    if (state.archiveBlock != nullptr || block == nullptr)
        return;
    CloseCachedArchive();
    state.archiveName = kMemoryArchiveName;
    state.archiveCached = true;
    state.archiveBlock = block;
    state.archive = CSkinZip::OpenFromMemory(block, size);
}

const void* CResourceLocation::GetSkinArchiveBlock() { return State().archiveBlock; }

const CUIString& CResourceLocation::GetSkinArchiveName() { return State().archiveName; }

bool CResourceLocation::IsSkinArchiveCached() { return State().archiveCached; }

HSKINZIP CResourceLocation::GetSkinArchiveHandle() { return State().archive; }

void CResourceLocation::CloseSkinArchive()
{
    CloseCachedArchive();
    State().archiveName.Clear();
}

SkinFileStatus CResourceLocation::ReadSkinFile(
    const char* name, const char* resourceType, size_t maxBytes, bool plainPathLastResort, TSkinFileBytes& out)
{
    out = TSkinFileBytes();
    if (maxBytes > INT_MAX)
        maxBytes = INT_MAX;
    if (resourceType)
        return ReadResource(name, resourceType, maxBytes, out);
    // A numeric resource id names no file.
    if (!name || IS_INTRESOURCE(name))
        return SkinFileStatus::FileOpenFailed;

    const TLocationState& state = State();
    const SkinFileStatus status = !state.archiveName.IsEmpty()
        ? ReadFromArchive(name, maxBytes, out)
        : ReadWholeFile(state.resourceFolder + name, maxBytes, out);
    if (status == SkinFileStatus::Found || !plainPathLastResort)
        return status;
    return ReadWholeFile(name, maxBytes, out) == SkinFileStatus::Found ? SkinFileStatus::Found : status;
}

}  // namespace SkinUI
