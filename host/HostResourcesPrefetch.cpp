// Image prefetch: the decode of a large skin image (a window's background) runs on a worker thread
// while the window is still being made, instead of inside the first WM_PAINT. When the size it is
// drawn at is known, the worker also makes the shrunk copy the first paint would make, so that paint
// only copies pixels; the copy's DIB section is the worker's own until it ends.
//
// The copy is made at the size the window settles at: the window may still be sized after its skin
// is built (centred and grown, say), so the worker, once it has decoded, waits until the window is
// first shown, or until the image is taken or dropped, and then reads that size (`aim`, atomic).
// Otherwise the worker shares nothing mutable with the UI thread: the UI thread reads the file's
// bytes into the job before the thread starts, the worker writes only the job's result, and the UI thread
// reads that result only after waiting for the thread to end. The job belongs to the host, which
// waits for the worker before freeing it, so the worker never outlives what it writes into. Any
// failure (no thread, nothing decoded, another type or mask asked for) leaves the image to the
// ordinary load on first use.
#include "host/HostResources.h"

#include <atomic>
#include <cstdint>

#include "host/ResourceLocation.h"
#include "render/ImageVariant.h"
#include "render/RenderKit.h"

namespace SkinUI {

struct TImagePrefetch {
    CUIString name;
    DWORD mask = 0;
    SIZE drawn = {};  // what the decode need cover; 0 x 0 unknown
    std::atomic<uint64_t> aim{0};  // where the copy is drawn (PackSize); 0 x 0 none
    HANDLE settled = nullptr;  // owned; set once `aim` holds the size to draw at; null: at once
    SIZE copied = {};  // the worker's copy; 0 x 0 none; read after it ended
    int dpi = 96;  // the window's DPI the file was chosen for
    int scale = 100;  // the chosen file's factor (TImageEntry::scale)
    TSkinFileBytes bytes;  // the worker's input; it frees them once decoded
    TImageEntry* result = nullptr;  // written by the worker; read after it ended; owned
    HANDLE thread = nullptr;  // owned
};

namespace {

uint64_t PackSize(SIZE size)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(size.cx)) << 32) | static_cast<uint32_t>(size.cy);
}

SIZE UnpackSize(uint64_t packed)
{
    return SIZE{
        static_cast<LONG>(static_cast<uint32_t>(packed >> 32)), static_cast<LONG>(static_cast<uint32_t>(packed))};
}

DWORD WINAPI DecodeOnWorker(void* parameter)
{
    TImagePrefetch* job = static_cast<TImagePrefetch*>(parameter);
    job->result = CRenderKit::DecodeSkinImage(job->bytes, job->mask, CRenderKit::DecodedForm::Pixels, job->drawn);
    if (job->result != nullptr) {
        job->result->scale = job->scale;
        job->result->loadedDpi = job->dpi;
        if (job->settled != nullptr)
            ::WaitForSingleObject(job->settled, INFINITE);
        // Without the copy the first paint makes it, as for an image nobody prefetched.
        const SIZE at = UnpackSize(job->aim.load());
        if (CRenderKit::MakeWholeScaledCopy(*job->result, at))
            job->copied = at;
    }
    return 0;
}

void Settle(TImagePrefetch* job)
{
    if (job->settled != nullptr)
        ::SetEvent(job->settled);
}

// Waits for the job's worker, then frees the job and whatever it made that nobody took.
void FinishPrefetch(TImagePrefetch* job)
{
    job->aim.store(0);  // a copy nobody will draw is not made
    Settle(job);
    ::WaitForSingleObject(job->thread, INFINITE);
    ::CloseHandle(job->thread);
    if (job->settled != nullptr)
        ::CloseHandle(job->settled);
    CRenderKit::ReleaseSkinImage(job->result);
    delete job;
}

}  // namespace

void CHostResources::PrefetchImage(const char* name, DWORD mask, SIZE drawn)
{
    if (name == nullptr || name[0] == '\0' || m_images.Find(name) != nullptr)
        return;
    for (int i = 0; i < m_prefetches.GetSize(); ++i) {
        if (static_cast<TImagePrefetch*>(m_prefetches.GetAt(i))->name == name)
            return;
    }
    TImagePrefetch* job = new TImagePrefetch;
    job->name = name;
    job->mask = mask;
    job->drawn = drawn;
    job->aim.store(PackSize(drawn));
    job->dpi = m_dpi;
    // A variant that fails to decode yields nothing here; the ordinary load then falls back to 1x.
    if (!ReadImageVariant(name, m_dpi, job->bytes, job->scale)
        && CResourceLocation::ReadSkinFile(name, nullptr, kSkinImageMaxBytes, true, job->bytes)
            != SkinFileStatus::Found) {
        delete job;
        return;
    }
    job->settled = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    job->thread = ::CreateThread(nullptr, 0, DecodeOnWorker, job, 0, nullptr);
    if (job->thread == nullptr) {
        if (job->settled != nullptr)
            ::CloseHandle(job->settled);
        delete job;
        return;
    }
    if (!m_prefetches.Add(job))
        FinishPrefetch(job);
}

void CHostResources::SettlePrefetch(const char* name, SIZE drawn)
{
    for (int i = 0; i < m_prefetches.GetSize(); ++i) {
        TImagePrefetch* job = static_cast<TImagePrefetch*>(m_prefetches.GetAt(i));
        if (job->name == name) {
            job->aim.store(PackSize(drawn));
            Settle(job);
        }
    }
}

TImageEntry* CHostResources::TakePrefetched(const char* name, const char* resType, DWORD mask, SIZE drawn)
{
    for (int i = 0; i < m_prefetches.GetSize(); ++i) {
        TImagePrefetch* job = static_cast<TImagePrefetch*>(m_prefetches.GetAt(i));
        if (job->name != name)
            continue;
        m_prefetches.Remove(i);
        // The size asked for now is the one drawn: a copy the worker has yet to make is made for it.
        if (drawn.cx > 0)
            job->aim.store(PackSize(drawn));
        Settle(job);
        ::WaitForSingleObject(job->thread, INFINITE);
        TImageEntry* entry = nullptr;
        if (resType == nullptr && mask == job->mask && job->dpi == m_dpi) {
            entry = job->result;
            job->result = nullptr;
        }
        if (entry != nullptr && drawn.cx > 0 && (drawn.cx != job->copied.cx || drawn.cy != job->copied.cy))
            CRenderKit::DropScaledCopies(*entry);
        FinishPrefetch(job);
        return entry;
    }
    return nullptr;
}

void CHostResources::DropPrefetches()
{
    for (int i = 0; i < m_prefetches.GetSize(); ++i) {
        FinishPrefetch(static_cast<TImagePrefetch*>(m_prefetches.GetAt(i)));
    }
    m_prefetches.Clear();
}

}  // namespace SkinUI
