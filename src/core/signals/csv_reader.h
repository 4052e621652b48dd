#pragma once

#include <string>
#include <string_view>

#include "signals/row_sink.h"
#include "signals/signal_limits.h"

namespace pinsum {

// Reads CSV text as spreadsheets write it: UTF-8 with or without a byte order mark, fields
// separated by the comma, the semicolon (as Czech spreadsheets write) or the tab, whichever the
// first line that is not empty holds most of outside quotes; quoted fields with doubled quotes
// and line breaks inside; CRLF, LF or CR line ends. Each record is one row. Throws
// SignalListError, with the row and column, for text that is no UTF-8, a quoted field left open
// and anything beyond the limits.
void ReadCsvRows(std::string_view text, const std::string& fileName, RowSink& sink,
                 const SignalLimits& limits = {});

} // namespace pinsum
