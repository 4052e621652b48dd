// The page's engine carries no JPEG codec: the browser decodes the pictures of help texts itself
// (the page's canvas is handed their bytes), and encodes the bitmaps that stored help holds as
// metafiles through an HTML canvas, synchronously, on the page's thread.
#include <emscripten.h>

#include "picture/jpeg_codec.h"

namespace {

// The bodies are JavaScript, which the C++ formatter would break.
// clang-format off
// libjpeg's default quality, which the desktop's encoder uses.
EM_JS(int, EncodeJpegInBrowser, (const uint8_t* rgba, int width, int height), {
    if (typeof document === 'undefined') return 0;
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    const image = context.createImageData(width, height);
    image.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
    context.putImageData(image, 0, 0);
    const url = canvas.toDataURL('image/jpeg', 0.75);
    const prefix = 'data:image/jpeg;base64,';
    if (!url.startsWith(prefix)) return 0;
    Module.encodedJpeg = atob(url.slice(prefix.length));
    return Module.encodedJpeg.length;
});

EM_JS(void, TakeEncodedJpeg, (uint8_t* out), {
    const bytes = Module.encodedJpeg;
    for (let i = 0; i < bytes.length; ++i) HEAPU8[out + i] = bytes.charCodeAt(i);
    delete Module.encodedJpeg;
});
// clang-format on

} // namespace

namespace pinsum {

std::optional<PixelArray> DecodeJpeg(std::span<const uint8_t>, int) {
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> EncodeJpeg(const Image& image) {
    if (image.width <= 0 || image.height <= 0)
        return std::nullopt;
    std::vector<uint8_t> rgba;
    rgba.reserve(image.pixels.size() * 4);
    for (const uint32_t pixel : image.pixels) {
        rgba.push_back(pixel & 0xFF);
        rgba.push_back((pixel >> 8) & 0xFF);
        rgba.push_back((pixel >> 16) & 0xFF);
        rgba.push_back(0xFF);
    }
    const int size = EncodeJpegInBrowser(rgba.data(), image.width, image.height);
    if (size <= 0)
        return std::nullopt;
    std::vector<uint8_t> jpeg(static_cast<size_t>(size));
    TakeEncodedJpeg(jpeg.data());
    return jpeg;
}

} // namespace pinsum
