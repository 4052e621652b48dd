#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "signals/row_sink.h"

namespace pinsum::test {

// Keeps every row a reader hands on.
class RowRecorder : public RowSink {
public:
    using Rows = std::vector<std::pair<uint32_t, std::vector<std::string>>>;

    void Sheet(const std::string& name) override { sheet = name; }
    void Row(uint32_t number, const std::vector<std::string>& cells) override {
        rows.emplace_back(number, cells);
    }

    std::string sheet;
    Rows rows;
};

} // namespace pinsum::test
