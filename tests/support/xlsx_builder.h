#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pinsum::test {

// A part of a zip container: its name and bytes.
using ZipPart = std::pair<std::string, std::string>;

// The parts as a zip file in memory, deflated unless stored is asked for. Throws
// std::runtime_error when libzip fails.
std::vector<uint8_t> ZipBytes(const std::vector<ZipPart>& parts, bool stored = false);

// The parts of a minimal workbook: the package and workbook relationships, the workbook with one
// sheet per entry (name, sheet XML) and, when given, the shared strings.
std::vector<ZipPart> WorkbookParts(const std::vector<std::pair<std::string, std::string>>& sheets,
                                   const std::string& sharedStrings = "");

// A worksheet's XML around the rows ("<row r=\"1\">...</row>...").
std::string SheetXml(const std::string& rows);

// An inline string cell: <c r="A1" t="inlineStr"><is><t>text</t></is></c>.
std::string InlineCell(const std::string& reference, const std::string& text);

} // namespace pinsum::test
