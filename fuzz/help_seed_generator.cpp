// Writes the seed corpus of the help-text and picture fuzzers into OUT/markup_tokenizer,
// OUT/markup_converter, OUT/picture_element, OUT/metafile and OUT/picture_file, and copies the
// rich text and pictures of the tests' data from DATA.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "helptext/picture_element.h"
#include "picture/jpeg_codec.h"
#include "support/picture_samples.h"

namespace pinsum::fuzz {
namespace {

namespace fs = std::filesystem;

void Save(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void Save(const fs::path& path, const std::vector<uint8_t>& bytes) {
    Save(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void CopyAll(const fs::path& from, const fs::path& to, const std::string& extension) {
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.path().extension() == extension)
            fs::copy_file(entry.path(), to / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
}

std::vector<uint8_t> Jpeg(int width, int height) {
    const auto jpeg = EncodeJpeg(test::BlockPicture(width, height));
    if (!jpeg)
        throw std::runtime_error("cannot encode a seed picture");
    return *jpeg;
}

std::string Element(int width, int height) {
    std::string element;
    EncodePicture(element, Jpeg(width, height), 360, 240, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(height));
    return element;
}

// A bottom-up bitmap file of 3 x 2 pixels with 8 or 24 bits a pixel.
std::vector<uint8_t> BitmapFile(uint16_t bits) {
    const uint32_t palette = bits == 8 ? 256 * 4 : 0;
    const uint32_t stride = bits == 8 ? 4 : 12;
    const uint32_t size = 14 + 40 + palette + stride * 2;
    std::vector<uint8_t> file(size, 0x80);
    std::fill(file.begin(), file.begin() + 54, 0);
    auto put = [&](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0, 0x4D42, 2);
    put(2, size, 4);
    put(10, 14 + 40 + palette, 4);
    put(14, 40, 4);
    put(18, 3, 4);
    put(22, 2, 4);
    put(26, 1, 2);
    put(28, bits, 2);
    return file;
}

void MarkupSeeds(const fs::path& dir) {
    Save(dir / "tags.txt", "<mi><b>B</b><u>U</u><i>I</i><br><td>c</td><font color=\"#00ff00\">g"
                           "</font><_?>< x<B><FONT  COLOR = \"#AbCdEf\" >t</FONT><pict</pict>");
    Save(dir / "broken_fonts.txt", "<font color=\"#0f0\">a<font          color=\"#000000\">"
                                   "<font color=\"#000000\" size=\"2\"><font>");
    Save(dir / "picture.txt", "<mi>x" + Element(8, 8) + "y<br>");
}

void ConverterSeeds(const fs::path& dir, const fs::path& data) {
    const std::string header = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029{\\fonttbl{\\f0"
                               "\\fswiss\\fcharset238 Sans;}}\r\n{\\colortbl ;\\red192\\green0"
                               "\\blue0;}\r\n{\\*\\generator Riched20 10.0;}\\viewkind4\\uc1"
                               "\\pard\\lang1029\\fs20\\f0 ";
    Save(dir / "rich_edit.rtf", "[1024]" + header +
                                    "\\b Digit\\'e1ln\\'ed\\b0\\par\\i x\\i0\\ul y\\ulnone\\par"
                                    "\\cf1 red\\cf0\\cf\\cf9\\par }\r\n");
    Save(dir / "picture.rtf",
         header + "x " + test::RichTextPicture(test::BlockPicture(8, 4), 360, 240) + "\\par }");
    Save(dir / "sections.rtf", "[1029]{\\rtf1 cz\\par}x[1024]{\\rtf1 en{\\b\\par}\\par\r\n}"
                               "[1031]{\\rtf1 \\{\\}\\\\\\'00\\'");
    Save(dir / "plain.txt", "Rozsah [V] a [mA]");
    Save(dir / "markup.txt", "<MI><b>x</b>{y}");
    Save(dir / "deep_nesting.rtf",
         std::string(200000, '{') + "\\rtf1 x" + std::string(200000, '}'));
    CopyAll(data / "help", dir, ".rtf");
}

void MetafileSeeds(const fs::path& dir) {
    const Image small = test::BlockPicture(5, 3);
    Save(dir / "small.hex", test::HexText(test::MetafileBytes(small), 128) + "\r\n}");
    Save(dir / "line_breaks.hex", test::HexText(test::MetafileBytes(small), 7));
    Save(dir / "palette.hex", test::HexText(test::MetafileBytes(small, {.bits = 8})));
    Save(dir / "negative_height.hex", test::HexText(test::MetafileBytes(small, {.height = -3})));
    Save(dir / "huge_record.hex",
         test::HexText(test::MetafileBytes(small, {.recordWords = 0x7FFFFFFF})));
    Save(dir / "wide.hex", test::HexText(test::MetafileBytes(test::BlockPicture(1600, 2))));
}

void PictureFileSeeds(const fs::path& dir, const fs::path& data) {
    const std::vector<uint8_t> jpeg = Jpeg(24, 16);
    Save(dir / "blocks.jpg", jpeg);
    Save(dir / "truncated.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.end() - 40));
    Save(dir / "colours_24.bmp", BitmapFile(24));
    Save(dir / "palette_8.bmp", BitmapFile(8));
    CopyAll(data / "pictures", dir, ".jpg");
}

} // namespace
} // namespace pinsum::fuzz

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using namespace pinsum::fuzz;
    if (argc != 3)
        return 2;
    const fs::path out = argv[1];
    const fs::path data = argv[2];
    for (const char* corpus :
         {"markup_tokenizer", "markup_converter", "picture_element", "metafile", "picture_file"})
        fs::create_directories(out / corpus);
    MarkupSeeds(out / "markup_tokenizer");
    ConverterSeeds(out / "markup_converter", data);
    Save(out / "picture_element" / "element.txt", Element(16, 8));
    Save(out / "picture_element" / "bad_count.txt", "<pict>00100010000100010000FFFF\xFF");
    MetafileSeeds(out / "metafile");
    PictureFileSeeds(out / "picture_file", data);
    return 0;
}
