#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "signals/row_sink.h"
#include "signals/signal_limits.h"

namespace pinsum {

class XlsxParts;

// Reads one worksheet of an XLSX file: the sheet of that name (letter case aside) or, without
// one, the workbook's first worksheet. Cells give their text: shared and inline strings, numbers
// as written, a formula's value as the file saved it (never worked out here; a formula without a
// saved value reads as empty), TRUE and FALSE for truth values. Throws SignalListError, naming
// the file, sheet, row and column where it can, for a damaged container, missing parts, parts
// larger than the limits allow and rows or cells beyond them.
void ReadXlsxRows(std::span<const uint8_t> bytes, const std::string& fileName,
                  const std::optional<std::string>& sheet, RowSink& sink,
                  const SignalLimits& limits = {});

// The same, of parts already opened.
void ReadXlsxRows(const XlsxParts& parts, const std::string& fileName,
                  const std::optional<std::string>& sheet, RowSink& sink,
                  const SignalLimits& limits = {});

} // namespace pinsum
