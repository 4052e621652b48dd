#include "picture/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include <jerror.h> // needs jpeglib.h first

namespace pinsum {
namespace {

// libjpeg is C: a fatal error must leave it by longjmp, never by a C++ exception. Every function
// a longjmp can cross below works on plain structs only and owns nothing with a destructor.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf leave;
};

void LeaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->leave, 1);
}

void IgnoreMessage(j_common_ptr) {}

void InstallErrorManager(ErrorManager& error) {
    jpeg_std_error(&error.pub);
    error.pub.error_exit = LeaveOnError;
    error.pub.output_message = IgnoreMessage;
}

// Runs one step of a job; false when libjpeg reported a fatal error during it.
template <class Job> bool RunGuarded(Job* job, void (*step)(Job*)) {
    if (setjmp(job->error.leave) != 0)
        return false;
    step(job);
    return true;
}

// --- Decoding ---------------------------------------------------------------------------------

struct DecodeJob {
    jpeg_decompress_struct info;
    ErrorManager error;
    const uint8_t* input;
    unsigned long inputSize;
    JSAMPLE* row;
    uint32_t* pixels; // bottom row first
};

void ReadHeader(DecodeJob* job) {
    jpeg_create_decompress(&job->info);
    jpeg_mem_src(&job->info, job->input, job->inputSize);
    jpeg_read_header(&job->info, TRUE);
    if (job->info.jpeg_color_space != JCS_GRAYSCALE)
        job->info.out_color_space = JCS_RGB;
}

// Grey-scale rows are expanded as through a 256-entry map of grey colours.
void StoreRow(const DecodeJob* job, uint32_t* out) {
    const JSAMPLE* in = job->row;
    const JDIMENSION width = job->info.output_width;
    if (job->info.output_components == 1) {
        for (JDIMENSION x = 0; x < width; ++x, ++in)
            out[x] = ColourRef(*in, *in, *in);
        return;
    }
    for (JDIMENSION x = 0; x < width; ++x, in += 3)
        out[x] = ColourRef(in[0], in[1], in[2]);
}

void ReadRows(DecodeJob* job) {
    jpeg_start_decompress(&job->info);
    const size_t width = job->info.output_width;
    const size_t height = job->info.output_height;
    while (job->info.output_scanline < height) {
        const size_t y = job->info.output_scanline;
        JSAMPROW rows[] = {job->row};
        if (jpeg_read_scanlines(&job->info, rows, 1) != 1)
            break;
        StoreRow(job, job->pixels + (height - 1 - y) * width);
    }
    jpeg_finish_decompress(&job->info);
}

struct DecodeGuard {
    DecodeJob& job;
    ~DecodeGuard() { jpeg_destroy_decompress(&job.info); }
};

// --- Encoding ---------------------------------------------------------------------------------

// The library's own memory destination replaces its buffer as it grows and loses the newest one
// when an error follows, so the job keeps the buffer itself.
struct MemoryDestination {
    jpeg_destination_mgr pub;
    unsigned char* data;
    size_t capacity;
};

struct EncodeJob {
    jpeg_compress_struct info;
    ErrorManager error;
    MemoryDestination destination;
    const Image* image;
    JSAMPLE* row;
};

constexpr size_t kFirstOutputSize = 16384;

void StartDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<MemoryDestination*>(info->dest);
    dest->data = static_cast<unsigned char*>(std::malloc(kFirstOutputSize));
    if (dest->data == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    dest->capacity = kFirstOutputSize;
    dest->pub.next_output_byte = dest->data;
    dest->pub.free_in_buffer = dest->capacity;
}

boolean GrowDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<MemoryDestination*>(info->dest);
    auto* grown = static_cast<unsigned char*>(std::realloc(dest->data, dest->capacity * 2));
    if (grown == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    dest->data = grown;
    dest->pub.next_output_byte = grown + dest->capacity;
    dest->pub.free_in_buffer = dest->capacity;
    dest->capacity *= 2;
    return TRUE;
}

void EndDestination(j_compress_ptr) {}

void TakeRow(const EncodeJob* job, int y) {
    const Image& image = *job->image;
    const uint32_t* in = image.pixels.data() + static_cast<size_t>(y) * image.width;
    JSAMPLE* out = job->row;
    for (int x = 0; x < image.width; ++x, ++in, out += 3) {
        out[0] = static_cast<JSAMPLE>(*in & 0xFF);
        out[1] = static_cast<JSAMPLE>((*in >> 8) & 0xFF);
        out[2] = static_cast<JSAMPLE>((*in >> 16) & 0xFF);
    }
}

void Compress(EncodeJob* job) {
    jpeg_create_compress(&job->info);
    job->destination.pub.init_destination = StartDestination;
    job->destination.pub.empty_output_buffer = GrowDestination;
    job->destination.pub.term_destination = EndDestination;
    job->info.dest = &job->destination.pub;
    job->info.image_width = static_cast<JDIMENSION>(job->image->width);
    job->info.image_height = static_cast<JDIMENSION>(job->image->height);
    job->info.input_components = 3;
    job->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job->info);
    jpeg_start_compress(&job->info, TRUE);
    for (int y = 0; y < job->image->height; ++y) {
        TakeRow(job, y);
        JSAMPROW rows[] = {job->row};
        jpeg_write_scanlines(&job->info, rows, 1);
    }
    jpeg_finish_compress(&job->info);
}

struct EncodeGuard {
    EncodeJob& job;
    ~EncodeGuard() {
        jpeg_destroy_compress(&job.info);
        std::free(job.destination.data);
    }
};

} // namespace

std::optional<PixelArray> DecodeJpeg(std::span<const uint8_t> jpeg, int maxSide) {
    if (jpeg.empty())
        return std::nullopt;
    DecodeJob job{};
    DecodeGuard guard{job};
    InstallErrorManager(job.error);
    job.info.err = &job.error.pub;
    job.input = jpeg.data();
    job.inputSize = static_cast<unsigned long>(jpeg.size());
    if (!RunGuarded(&job, ReadHeader))
        return std::nullopt;

    const size_t width = job.info.image_width;
    const size_t height = job.info.image_height;
    const size_t limit = static_cast<size_t>(maxSide);
    if (width > limit || height > limit || width * height > kMaxPicturePixels)
        return std::nullopt;
    PixelArray array{static_cast<int>(width), static_cast<int>(height),
                     std::vector<uint32_t>(width * height)};
    std::vector<JSAMPLE> row(width * 3);
    job.row = row.data();
    job.pixels = array.colours.data();
    if (!RunGuarded(&job, ReadRows))
        return std::nullopt;
    return array;
}

std::optional<std::vector<uint8_t>> EncodeJpeg(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return std::nullopt;
    EncodeJob job{};
    EncodeGuard guard{job};
    InstallErrorManager(job.error);
    job.info.err = &job.error.pub;
    job.image = &image;
    std::vector<JSAMPLE> row(static_cast<size_t>(image.width) * 3);
    job.row = row.data();
    if (!RunGuarded(&job, Compress))
        return std::nullopt;
    const size_t size = job.destination.capacity - job.destination.pub.free_in_buffer;
    return std::vector<uint8_t>(job.destination.data, job.destination.data + size);
}

} // namespace pinsum
