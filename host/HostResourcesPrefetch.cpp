// Image prefetch: the decode of a large skin image (a window's background) runs on a worker thread
// while the window is still being made, instead of inside the first WM_PAINT.
//
// The worker shares nothing mutable with the UI thread: the UI thread reads the file's bytes into
// the job before the thread starts, the worker writes only the job's result, and the UI thread
// reads that result only after waiting for the thread to end. The job belongs to the host, which
// waits for the worker before freeing it, so the worker never outlives what it writes into. Any
// failure (no thread, nothing decoded, another type or mask asked for) leaves the image to the
// ordinary load on first use.
#include "host/HostResources.h"

#include "host/ResourceLocation.h"
#include "render/ImageVariant.h"
#include "render/RenderKit.h"

namespace SkinUI {

struct TImagePrefetch {
    CUIString name;
    DWORD mask = 0;
    SIZE drawn = {};  // what the decode need cover; 0 x 0 unknown
    int dpi = 96;  // the window's DPI the file was chosen for
    int scale = 100;  // the chosen file's factor (TImageEntry::scale)
    TSkinFileBytes bytes;  // the worker's input; it frees them once decoded
    TImageEntry* result = nullptr;  // written by the worker; read after it ended; owned
    HANDLE thread = nullptr;  // owned
};

namespace {

DWORD WINAPI DecodeOnWorker(void* parameter)
{
    TImagePrefetch* job = static_cast<TImagePrefetch*>(parameter);
    job->result = CRenderKit::DecodeSkinImage(job->bytes, job->mask, CRenderKit::DecodedForm::Pixels, job->drawn);
    if (job->result != nullptr) {
        job->result->scale = job->scale;
        job->result->loadedDpi = job->dpi;
    }
    return 0;
}

// Waits for the job's worker, then frees the job and whatever it made that nobody took.
void FinishPrefetch(TImagePrefetch* job)
{
    ::WaitForSingleObject(job->thread, INFINITE);
    ::CloseHandle(job->thread);
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
    job->dpi = m_dpi;
    // A variant that fails to decode yields nothing here; the ordinary load then falls back to 1x.
    if (!ReadImageVariant(name, m_dpi, job->bytes, job->scale)
        && CResourceLocation::ReadSkinFile(name, nullptr, kSkinImageMaxBytes, true, job->bytes)
            != SkinFileStatus::Found) {
        delete job;
        return;
    }
    job->thread = ::CreateThread(nullptr, 0, DecodeOnWorker, job, 0, nullptr);
    if (job->thread == nullptr) {
        delete job;
        return;
    }
    if (!m_prefetches.Add(job))
        FinishPrefetch(job);
}

TImageEntry* CHostResources::TakePrefetched(const char* name, const char* resType, DWORD mask)
{
    for (int i = 0; i < m_prefetches.GetSize(); ++i) {
        TImagePrefetch* job = static_cast<TImagePrefetch*>(m_prefetches.GetAt(i));
        if (job->name != name)
            continue;
        m_prefetches.Remove(i);
        ::WaitForSingleObject(job->thread, INFINITE);
        TImageEntry* entry = nullptr;
        if (resType == nullptr && mask == job->mask && job->dpi == m_dpi) {
            entry = job->result;
            job->result = nullptr;
        }
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
