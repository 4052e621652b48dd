#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pinsum {

// Takes a sheet's rows one at a time as a reader finds them, so that a list is never held whole.
class RowSink {
public:
    virtual ~RowSink() = default;
    // The sheet the rows that follow come from; a CSV file has none.
    virtual void Sheet(const std::string& name) { (void)name; }
    // A row with its number (from 1) and its cells from column A on, UTF-8; a cell that is not
    // there is an empty text, and the vector may end before the last column. The cells are valid
    // only during the call.
    virtual void Row(uint32_t number, const std::vector<std::string>& cells) = 0;
};

} // namespace pinsum
