#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/image.h"

namespace pinsum::test {

// Blocks of 16 x 16 pixels, JPEG's colour blocks, in a few saturated colours, which JPEG keeps
// close.
Image BlockPicture(int width, int height);

// The mean difference of the colour components of two images of the same size. JPEG blurs the
// colour of edges, so single pixels may differ much more.
double MeanDifference(const Image& a, const Image& b);

// The fields of a metafile with one stretch-bitmap record; change one to break a rule.
struct MetafileFields {
    uint16_t type = 1;
    uint16_t headerWords = 9;
    uint16_t version = 0x0300;
    uint16_t parameters = 0;
    uint32_t recordWords = 0; // 0: the true size
    uint32_t rasterOperation = 0x00CC0020;
    uint16_t colourUsage = 0;
    std::optional<int32_t> width = std::nullopt; // the image's when not set
    std::optional<int32_t> height = std::nullopt;
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint32_t coloursImportant = 0;
};

std::vector<uint8_t> MetafileBytes(const Image& image, const MetafileFields& fields = {});

// Two lower-case hex digits a byte; with a line length, CR LF after every that many digits.
std::string HexText(const std::vector<uint8_t>& bytes, size_t lineLength = 0);

// A rich-text picture group as the rich edit writes it.
std::string RichTextPicture(const Image& image, int goalWidth, int goalHeight);

} // namespace pinsum::test
