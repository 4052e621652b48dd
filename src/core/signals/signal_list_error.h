#pragma once

#include <cstdint>
#include <string>

#include "host/engine_error.h"

namespace pinsum {

// Where in a signal list a problem is; each part is optional (0 or empty: not known).
struct SignalPlace {
    std::string file;
    std::string sheet;
    uint32_t row = 0;    // from 1, as the spreadsheet numbers its rows
    uint32_t column = 0; // from 1; shown as the spreadsheet's letters
};

// A signal list or a map file that cannot be read or does not fit the catalogue. The message
// starts with the place: "list.xlsx: sheet 'IO': row 5, column C: ...".
class SignalListError : public EngineError {
public:
    SignalListError(const std::string& detail, SignalPlace place);

    const SignalPlace& Where() const { return m_where; }

private:
    SignalPlace m_where;
};

// The spreadsheet's name of a column: 1 is "A", 27 is "AA".
std::string ColumnLetters(uint32_t column);

} // namespace pinsum
