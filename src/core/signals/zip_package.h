#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

struct zip;

namespace pinsum {

// The parts of a zip container (an XLSX file) in memory, read through libzip. Reading a part
// never takes more than the bytes allowed for it: its declared size is checked first, and the
// bytes inflated are counted, since a declared size can lie.
class ZipPackage {
public:
    // Throws SignalListError for bytes that are no zip file or hold more than maxEntries parts.
    ZipPackage(std::span<const uint8_t> bytes, const std::string& fileName, size_t maxEntries);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Part names compare without letter case, as the spreadsheets that write them do.
    bool Has(const std::string& part) const;
    // Hands the part's bytes to consume in pieces. Throws SignalListError when the part is
    // missing, damaged or larger than maxBytes.
    void Read(const std::string& part, size_t maxBytes,
              const std::function<void(std::string_view)>& consume) const;

private:
    [[noreturn]] void Fail(const std::string& detail) const;

    std::string m_file;
    zip* m_archive = nullptr;
};

} // namespace pinsum
