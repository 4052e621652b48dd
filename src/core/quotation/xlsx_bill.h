#pragma once

#include <string>

namespace pinsum {

struct Bill;

// Writes the bill as an XLSX workbook with libxlsxwriter: a first sheet with the request (IO
// kind, requested, reserve), then a sheet per solution with the bill's rows, quantities and
// prices as numbers, and a total row whose value is the bill's own sum, no formula. Every text is
// written as a string cell, so that no name can become a formula. The file is written beside
// the target and renamed over it, so a failed write leaves the old file whole. Throws
// EngineError.
void WriteXlsxBill(const std::string& path, const Bill& bill);

} // namespace pinsum
