#include "preview/PreviewCodec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>

#include "platform/Translate.h"
#include "platform/UserInterface.h"

// The functions that call setjmp hold only trivially destructible locals, and
// everything C++ that must survive a jump back (result vectors) lives in the
// caller's context object, so no destructor is ever skipped by longjmp.

namespace sc {
namespace {

constexpr std::size_t kDestinationStep = 10000;
// Progressive streams may repeat scans without end; previews have a handful.
constexpr int kMaxScans = 200;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnFatalError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Nothing may be printed behind the user's back; what matters is reported
// through the interface.
void OnOutputMessage(j_common_ptr) {}

// A warning while decoding means corrupt data (a bad code, a marker in the
// wrong place): the picture would come out garbled, so it ends the decode
// as an error does.
void OnDecodeMessage(j_common_ptr cinfo, int level) {
    if (level < 0) (*cinfo->err->error_exit)(cinfo);
}

void InstallErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.base);
    err.base.error_exit = OnFatalError;
    err.base.output_message = OnOutputMessage;
    err.message[0] = '\0';
}

// Bounds the memory libjpeg may take for one picture.
void LimitMemory(j_common_ptr cinfo) { cinfo->mem->max_memory_to_use = 64L * 1024 * 1024; }

// Shows `lead` with the library's own (English) text as detail.
void Report(const char* lead, const ErrorManager& err, UserInterface* ui, std::string* errorText) {
    const std::string text = std::string(Tr(lead)) + "\n\n(libjpeg: " + err.message + ")";
    if (errorText) *errorText = text;
    if (ui) ui->ShowMessage(text, MessageIcon::Stop, Tr(kJpegFatalErrorTitle));
}

constexpr const char* kDecodeFailed = N_("The preview is damaged and cannot be read.");
constexpr const char* kEncodeFailed = N_("The preview cannot be compressed.");

// ---- memory destination -------------------------------------------------

struct MemoryDestination {
    jpeg_destination_mgr base;
    JOCTET* work;
    std::vector<std::uint8_t>* result;
};

// Appends bytes to the result; reports running out of memory as libjpeg's
// own error so that it ends in the jump back.
void AppendToResult(j_compress_ptr cinfo, const JOCTET* bytes, std::size_t count) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    bool ok = true;
    try {
        dest->result->insert(dest->result->end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
}

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    dest->work = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                   kDestinationStep * sizeof(JOCTET)));
    dest->result->clear();
    dest->base.next_output_byte = dest->work;
    dest->base.free_in_buffer = kDestinationStep;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    AppendToResult(cinfo, dest->work, kDestinationStep);
    dest->base.next_output_byte = dest->work;
    dest->base.free_in_buffer = kDestinationStep;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    const std::size_t used = kDestinationStep - dest->base.free_in_buffer;
    if (used > 0) AppendToResult(cinfo, dest->work, used);
}

// ---- memory source ------------------------------------------------------

struct MemorySource {
    jpeg_source_mgr base;
    const JOCTET* data;
    std::size_t size;
    bool handedOut;
};

void InitSource(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    src->base.next_input_byte = src->data;
    src->base.bytes_in_buffer = 0;
    src->handedOut = false;
}

// Hands the whole stream over once; asking again means the stream ended too
// early, which counts as a damaged picture.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    if (src->handedOut || src->size == 0) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->handedOut = true;
    src->base.next_input_byte = src->data;
    src->base.bytes_in_buffer = src->size;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    while (count > 0) {
        if (src->base.bytes_in_buffer == 0) (*src->base.fill_input_buffer)(cinfo);
        const std::size_t step =
            std::min(static_cast<std::size_t>(count), src->base.bytes_in_buffer);
        src->base.next_input_byte += step;
        src->base.bytes_in_buffer -= step;
        count -= static_cast<long>(step);
    }
}

void TermSource(j_decompress_ptr) {}

void RefuseEndlessScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans) return;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "Too many scans (more than %d)", kMaxScans);
    std::longjmp(err->jump, 1);
}

// ---- encode ---------------------------------------------------------------

struct EncodeContext {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    MemoryDestination dest;
};

bool RunEncode(EncodeContext& ctx, const std::uint8_t* pixels, int width, int height,
               int quality) {
    jpeg_compress_struct& cinfo = ctx.cinfo;
    cinfo.err = &ctx.err.base;
    if (setjmp(ctx.err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    LimitMemory(reinterpret_cast<j_common_ptr>(&cinfo));
    ctx.dest.base.init_destination = InitDestination;
    ctx.dest.base.empty_output_buffer = EmptyOutputBuffer;
    ctx.dest.base.term_destination = TermDestination;
    cinfo.dest = &ctx.dest.base;
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowLength = static_cast<std::size_t>(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + cinfo.next_scanline * rowLength);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

// ---- decode ---------------------------------------------------------------

struct DecodeContext {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    MemorySource src;
    jpeg_progress_mgr progress;
    DecodedPicture* picture;
    bool headerOnly;  // the size is wanted, not the pixels
};

bool ResizeOutput(DecodedPicture& picture, std::size_t size) noexcept {
    try {
        picture.pixels.assign(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// 0 on success, 1 on a libjpeg error, 2 when the output could not be had.
int RunDecode(DecodeContext& ctx, const PreviewImage& image) {
    jpeg_decompress_struct& cinfo = ctx.cinfo;
    cinfo.err = &ctx.err.base;
    ctx.err.base.emit_message = OnDecodeMessage;
    if (setjmp(ctx.err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    LimitMemory(reinterpret_cast<j_common_ptr>(&cinfo));
    ctx.src.base.init_source = InitSource;
    ctx.src.base.fill_input_buffer = FillInputBuffer;
    ctx.src.base.skip_input_data = SkipInputData;
    ctx.src.base.resync_to_restart = jpeg_resync_to_restart;
    ctx.src.base.term_source = TermSource;
    ctx.src.data = image.jpegData.data();
    ctx.src.size = image.jpegData.size();
    cinfo.src = &ctx.src.base;
    ctx.progress.progress_monitor = RefuseEndlessScans;
    cinfo.progress = &ctx.progress;
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > static_cast<JDIMENSION>(kMaxDecodedSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(kMaxDecodedSide))
        ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, kMaxDecodedSide);
    if (ctx.headerOnly) {
        ctx.picture->width = static_cast<int>(cinfo.image_width);
        ctx.picture->height = static_cast<int>(cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    // Grey streams come out as three equal bytes; other colour spaces cannot
    // be turned into three bytes per pixel and are refused by the library.
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
    const std::size_t rowLength = static_cast<std::size_t>(cinfo.output_width) * 3;
    if (!ResizeOutput(*ctx.picture, rowLength * cinfo.output_height)) {
        jpeg_destroy_decompress(&cinfo);
        return 2;
    }
    ctx.picture->width = static_cast<int>(cinfo.output_width);
    ctx.picture->height = static_cast<int>(cinfo.output_height);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                JPOOL_IMAGE, rowLength, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, row, 1);
        std::memcpy(ctx.picture->pixels.data() + (cinfo.output_scanline - 1) * rowLength, row[0],
                    rowLength);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

}  // namespace

bool Encode(PreviewImage& image, const std::uint8_t* pixels, std::size_t size, int width,
            int height, int quality, UserInterface* ui, std::string* errorText) {
    image.jpegData.clear();
    if (errorText) errorText->clear();
    if (!pixels || width <= 0 || height <= 0 ||
        size < static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u)
        return false;
    std::vector<std::uint8_t> result;
    EncodeContext ctx{};
    InstallErrorManager(ctx.err);
    ctx.dest.result = &result;
    if (!RunEncode(ctx, pixels, width, height, quality)) {
        Report(kEncodeFailed, ctx.err, ui, errorText);
        return false;
    }
    image.jpegData = std::move(result);
    return true;
}

bool Decode(const PreviewImage& image, DecodedPicture& picture, UserInterface* ui,
            std::string* errorText) {
    picture = DecodedPicture{};
    if (errorText) errorText->clear();
    if (image.IsEmpty()) return false;
    DecodeContext ctx{};
    InstallErrorManager(ctx.err);
    ctx.picture = &picture;
    const int outcome = RunDecode(ctx, image);
    if (outcome == 0) return true;
    if (outcome == 1) Report(kDecodeFailed, ctx.err, ui, errorText);
    picture = DecodedPicture{};
    return false;
}

bool ReadPictureSize(const PreviewImage& image, int& width, int& height) {
    width = height = 0;
    if (image.IsEmpty()) return false;
    DecodedPicture picture;
    DecodeContext ctx{};
    InstallErrorManager(ctx.err);
    ctx.picture = &picture;
    ctx.headerOnly = true;
    if (RunDecode(ctx, image) != 0 || picture.width <= 0 || picture.height <= 0) return false;
    width = picture.width;
    height = picture.height;
    return true;
}

namespace {

class CodecCheck final : public PictureCheck {
public:
    bool ComputeStatsFromPicture(PreviewImage& image, std::string& error) override {
        // Small previews are a quarter of the area; their sums are scaled so
        // they compare with full-size ones.
        constexpr int kSmallPreviewWidth = 100;
        DecodedPicture picture;
        if (!Decode(image, picture, nullptr, &error)) return false;
        ComputeStats(image, picture.pixels.data(), picture.pixels.size(), picture.width,
                     picture.height);
        if (picture.width < kSmallPreviewWidth) ScaleStats(image, 4);
        return true;
    }
};

}  // namespace

PictureCheck& CodecPictureCheck() {
    static CodecCheck check;
    return check;
}

}  // namespace sc
