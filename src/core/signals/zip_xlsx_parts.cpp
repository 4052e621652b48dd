// The XLSX container as the native engine reads it: libzip for the zip file, expat for the XML.
#include "signals/xlsx_parts.h"

#include "signals/xml_stream.h"
#include "signals/zip_package.h"

namespace pinsum {
namespace {

class ZipXlsxParts : public XlsxParts {
public:
    ZipXlsxParts(std::span<const uint8_t> bytes, const std::string& fileName,
                 const SignalLimits& limits)
        : m_file(fileName), m_zip(bytes, fileName, limits.zipEntries) {}

    bool Has(const std::string& part) const override { return m_zip.Has(part); }

    void Parse(const std::string& part, size_t maxBytes, XmlHandler& handler) const override {
        XmlStream stream(handler, m_file, part);
        m_zip.Read(part, maxBytes, [&](std::string_view bytes) { stream.Feed(bytes); });
        stream.Finish();
    }

private:
    std::string m_file;
    ZipPackage m_zip;
};

} // namespace

std::unique_ptr<XlsxParts> OpenXlsxParts(std::span<const uint8_t> bytes,
                                         const std::string& fileName, const SignalLimits& limits) {
    return std::make_unique<ZipXlsxParts>(bytes, fileName, limits);
}

} // namespace pinsum
