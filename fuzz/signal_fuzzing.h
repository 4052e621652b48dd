#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "signals/row_sink.h"
#include "signals/signal_limits.h"
#include "signals/signal_text.h"
#include "signals/type_column.h"

namespace pinsum::fuzz {

// Smaller limits than the program's, so that every input is quick to read; the paths they
// guard are the same.
inline SignalLimits FuzzLimits() {
    SignalLimits limits;
    limits.rows = 5000;
    limits.sheetBytes = size_t{8} << 20;
    limits.sharedStringsBytes = size_t{8} << 20;
    limits.sharedStrings = 20'000;
    return limits;
}

// Hands every row on to the type column and checks what a reader promises of its cells: UTF-8,
// within the limits.
class CheckingSink : public RowSink {
public:
    explicit CheckingSink(const SignalLimits& limits)
        : m_limits(limits), m_types("fuzz", std::nullopt, limits) {}

    void Sheet(const std::string& name) override { m_types.Sheet(name); }
    void Row(uint32_t number, const std::vector<std::string>& cells) override {
        if (number <= m_last)
            Abort("rows out of order");
        m_last = number;
        if (cells.size() > m_limits.columns)
            Abort("a row beyond the column limit");
        for (const std::string& cell : cells)
            if (InvalidUtf8At(cell) != std::string::npos ||
                Utf8Length(cell) > m_limits.cellCharacters)
                Abort("a cell that is no UTF-8 or beyond the limit");
        m_types.Row(number, cells);
    }

private:
    [[noreturn]] static void Abort(const char* what) {
        std::fprintf(stderr, "fuzz finding: %s\n", what);
        std::abort();
    }

    const SignalLimits& m_limits;
    TypeColumn m_types;
    uint32_t m_last = 0;
};

} // namespace pinsum::fuzz
