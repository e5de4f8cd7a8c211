#include "render/JpegDecode.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "jpeglib.h"

#include "jerror.h"

namespace SkinUI {

namespace {

// A progressive file rescans the whole picture for each of its scans; real files have a dozen or so,
// a hostile one could hold thousands in a few kilobytes.
const int kMaxScans = 256;

struct TJpegJob {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    bool truncated;
    bool unsupported;
    const unsigned char* data;
    size_t size;
    size_t maxPixels;
    int drawWidth;
    int drawHeight;
    TJpegImage* out;
};

TJpegJob* JobOf(j_common_ptr cinfo) { return static_cast<TJpegJob*>(cinfo->client_data); }

void OnError(j_common_ptr cinfo) { std::longjmp(JobOf(cinfo)->jump, 1); }

// Warnings are not printed; missing data is remembered, since a picture cut short is not the picture.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        JobOf(cinfo)->truncated = true;
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        std::longjmp(JobOf(cinfo)->jump, 1);
}

bool SupportedColorSpace(J_COLOR_SPACE space)
{
    return space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB;
}

// Everything between the jump target and the jumps out of the library: C-style, so no destructor is
// skipped. What it allocates is reachable from the job, which the caller frees on every path.
bool RunDecode(TJpegJob* job)
{
    if (setjmp(job->jump) != 0)
        return false;
    jpeg_decompress_struct* cinfo = &job->cinfo;
    cinfo->client_data = job;  // kept by jpeg_create_decompress
    cinfo->err = jpeg_std_error(&job->error);
    job->error.error_exit = OnError;
    job->error.emit_message = OnMessage;
    jpeg_create_decompress(cinfo);
    job->progress.progress_monitor = OnProgress;
    cinfo->progress = &job->progress;
    jpeg_mem_src(cinfo, job->data, static_cast<unsigned long>(job->size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    const unsigned long long declared
        = static_cast<unsigned long long>(cinfo->image_width) * static_cast<unsigned long long>(cinfo->image_height);
    if (declared == 0 || declared > job->maxPixels)
        return false;
    if (!SupportedColorSpace(cinfo->jpeg_color_space)) {
        job->unsupported = true;
        return false;
    }
    TJpegImage& out = *job->out;
    out.fullWidth = static_cast<int>(cinfo->image_width);
    out.fullHeight = static_cast<int>(cinfo->image_height);
    out.reduction = JpegReduction(out.fullWidth, out.fullHeight, job->drawWidth, job->drawHeight);
    cinfo->scale_num = 1;
    cinfo->scale_denom = static_cast<unsigned int>(out.reduction);
    // Byte order B, G, R, A is the little-endian word 0xAARRGGBB; the library writes alpha as 255.
    cinfo->out_color_space = JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(cinfo);
    if (cinfo->output_components != 4 || cinfo->output_width == 0 || cinfo->output_height == 0)
        return false;
    out.width = static_cast<int>(cinfo->output_width);
    out.height = static_cast<int>(cinfo->output_height);
    out.pixels = static_cast<uint32_t*>(
        std::malloc(static_cast<size_t>(out.width) * static_cast<size_t>(out.height) * sizeof(uint32_t)));
    if (out.pixels == nullptr)
        return false;
    jpeg_start_decompress(cinfo);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(out.pixels + static_cast<size_t>(cinfo->output_scanline) * out.width);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1 || job->truncated)
            return false;
    }
    jpeg_finish_decompress(cinfo);
    return !job->truncated;
}

}  // namespace

bool LooksLikeJpeg(const unsigned char* data, size_t size)
{
    return data != nullptr && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

int JpegReduction(int fullWidth, int fullHeight, int drawWidth, int drawHeight)
{
    if (drawWidth <= 0 || drawHeight <= 0)
        return 1;
    for (int reduction = 8; reduction > 1; reduction /= 2) {
        // The library rounds a reduced size up.
        const long long width = (static_cast<long long>(fullWidth) + reduction - 1) / reduction;
        const long long height = (static_cast<long long>(fullHeight) + reduction - 1) / reduction;
        if (width >= drawWidth && height >= drawHeight)
            return reduction;
    }
    return 1;
}

JpegResult DecodeJpeg(
    const unsigned char* data, size_t size, size_t maxPixels, int drawWidth, int drawHeight, TJpegImage& out)
{
    out = TJpegImage();
    // The library reads its length as an unsigned long, 32 bits on Windows.
    if (!LooksLikeJpeg(data, size) || size > 0x7FFFFFFFu)
        return JpegResult::Failed;
    TJpegJob* job = static_cast<TJpegJob*>(std::calloc(1, sizeof(TJpegJob)));
    if (job == nullptr)
        return JpegResult::Failed;
    job->data = data;
    job->size = size;
    job->maxPixels = maxPixels;
    job->drawWidth = drawWidth;
    job->drawHeight = drawHeight;
    job->out = &out;
    const bool decoded = RunDecode(job);
    const bool unsupported = job->unsupported;
    // Safe on a struct the library never set up: it then holds no memory manager.
    jpeg_destroy_decompress(&job->cinfo);
    std::free(job);
    if (decoded)
        return JpegResult::Decoded;
    std::free(out.pixels);
    out = TJpegImage();
    return unsupported ? JpegResult::Unsupported : JpegResult::Failed;
}

}  // namespace SkinUI
