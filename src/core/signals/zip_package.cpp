#include "signals/zip_package.h"

#include <array>
#include <memory>

#include <zip.h>

#include "host/input_quote.h"
#include "signals/signal_list_error.h"

namespace pinsum {
namespace {

constexpr size_t kChunkBytes = 64 * 1024;

std::string ZipErrorText(zip_error_t& error) {
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string TooLarge(const std::string& part, size_t maxBytes) {
    return "part " + QuoteInput(part) + " is larger than " + std::to_string(maxBytes >> 20) +
           " MB uncompressed";
}

} // namespace

ZipPackage::ZipPackage(std::span<const uint8_t> bytes, const std::string& fileName,
                       size_t maxEntries)
    : m_file(fileName) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr)
        Fail("cannot read the zip container: " + ZipErrorText(error));
    m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (m_archive == nullptr) {
        zip_source_free(source);
        Fail("not an XLSX file, or a damaged one: " + ZipErrorText(error));
    }
    zip_error_fini(&error);
    if (static_cast<zip_uint64_t>(zip_get_num_entries(m_archive, 0)) > maxEntries)
        Fail("the zip container holds more than " + std::to_string(maxEntries) + " parts");
}

ZipPackage::~ZipPackage() {
    if (m_archive != nullptr)
        zip_discard(m_archive);
}

bool ZipPackage::Has(const std::string& part) const {
    return zip_name_locate(m_archive, part.c_str(), ZIP_FL_NOCASE) >= 0;
}

void ZipPackage::Read(const std::string& part, size_t maxBytes,
                      const std::function<void(std::string_view)>& consume) const {
    const zip_int64_t index = zip_name_locate(m_archive, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0)
        Fail("the part " + QuoteInput(part) + " is missing");
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > maxBytes)
        Fail(TooLarge(part, maxBytes));
    zip_file_t* file = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr)
        Fail("cannot open the part " + QuoteInput(part) + ": " + zip_strerror(m_archive));
    const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> owner(file, &zip_fclose);
    std::array<char, kChunkBytes> chunk;
    size_t total = 0;
    for (;;) {
        const zip_int64_t read = zip_fread(file, chunk.data(), chunk.size());
        if (read < 0)
            Fail("the part " + QuoteInput(part) + " is damaged: " + zip_file_strerror(file));
        if (read == 0)
            return;
        total += static_cast<size_t>(read);
        if (total > maxBytes)
            Fail(TooLarge(part, maxBytes));
        consume(std::string_view(chunk.data(), static_cast<size_t>(read)));
    }
}

void ZipPackage::Fail(const std::string& detail) const {
    throw SignalListError(detail, SignalPlace{m_file, "", 0, 0});
}

} // namespace pinsum
