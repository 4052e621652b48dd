#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace pinsum {

struct Bill;

// The quotation of a bill as a PDF drawn with cairo on A4 pages in DejaVu Sans: the title, the
// date and the catalogue, the request table (IO kind, requested, reserve), then per solution its
// devices, each with its modules, their quantities, unit and line prices, the total and the used
// and unused IO. A device and its modules never part across a page break. Throws EngineError.
std::vector<uint8_t> QuotationPdf(const Bill& bill, const std::string& date);

// Writes QuotationPdf beside the target and renames it over it, so a failed write leaves the old
// file whole. Throws EngineError.
void WriteQuotationPdf(const std::string& path, const Bill& bill, const std::string& date);

// A day as Czech documents write it: "3. 11. 2026".
std::string CzechDate(std::time_t time);

} // namespace pinsum
