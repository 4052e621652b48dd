#include "support/xlsx_builder.h"

#include <cstdio>
#include <stdexcept>

#include <zip.h>

namespace pinsum::test {
namespace {

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kPackageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("zip builder: " + what);
}

std::string Relationship(const std::string& id, const std::string& type,
                         const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelationships + "/" + type +
           "\" Target=\"" + target + "\"/>";
}

} // namespace

std::vector<uint8_t> ZipBytes(const std::vector<ZipPart>& parts, bool stored) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (buffer == nullptr)
        Fail("no buffer");
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        Fail("cannot open the buffer");
    zip_source_keep(buffer);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index =
            source != nullptr ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0)
            Fail("cannot add " + name);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0)
        Fail(zip_strerror(archive));
    std::vector<uint8_t> bytes;
    if (zip_source_open(buffer) != 0)
        Fail("cannot read the buffer");
    uint8_t chunk[65536];
    for (zip_int64_t read; (read = zip_source_read(buffer, chunk, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + read);
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

std::vector<ZipPart> WorkbookParts(const std::vector<std::pair<std::string, std::string>>& sheets,
                                   const std::string& sharedStrings) {
    std::vector<ZipPart> parts;
    parts.emplace_back("_rels/.rels",
                       std::string("<Relationships xmlns=\"") + kPackageRelationships + "\">" +
                           Relationship("rId1", "officeDocument", "xl/workbook.xml") +
                           "</Relationships>");
    std::string workbook = std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" +
                           kRelationships + "\"><sheets>";
    std::string relationships =
        std::string("<Relationships xmlns=\"") + kPackageRelationships + "\">";
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        workbook += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + number +
                    "\" r:id=\"rId" + number + "\"/>";
        relationships +=
            Relationship("rId" + number, "worksheet", "worksheets/sheet" + number + ".xml");
        parts.emplace_back("xl/worksheets/sheet" + number + ".xml", sheets[i].second);
    }
    if (!sharedStrings.empty()) {
        relationships += Relationship("rIdS", "sharedStrings", "sharedStrings.xml");
        parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
    }
    parts.emplace_back("xl/workbook.xml", workbook + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels", relationships + "</Relationships>");
    return parts;
}

std::string SheetXml(const std::string& rows) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"") + kMain +
           "\"><sheetData>" + rows + "</sheetData></worksheet>";
}

std::string InlineCell(const std::string& reference, const std::string& text) {
    return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

} // namespace pinsum::test
