#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "signals/row_sink.h"
#include "signals/signal_limits.h"

namespace pinsum {

// Some of the rows where something was found, and how many there were in all.
struct RowList {
    // Row numbers kept for a message; the rest are only counted.
    static constexpr size_t kKept = 10;

    void Add(uint32_t row) {
        if (rows.size() < kKept)
            rows.push_back(row);
        ++count;
    }
    void Merge(const RowList& other) {
        for (uint32_t row : other.rows)
            if (rows.size() < kKept)
                rows.push_back(row);
        count += other.count;
    }
    bool Empty() const { return count == 0; }

    std::vector<uint32_t> rows;
    uint64_t count = 0;
};

// One signal type of a list: its text as first written and the rows that give it.
struct SignalType {
    std::string text;
    RowList rows;
};

// The header names a type column goes by when none is asked for, compared as names are.
const std::vector<std::string>& DefaultTypeColumns();

// Takes a sheet's rows, finds the header row (the first row, among the first rows that are not
// empty, with a cell of the type column's name) and collects the type of every row below it.
// Rows above the header and empty rows are left out; a row whose type cell is empty is counted
// in RowsWithoutType. Types that differ only in letter case, normal form or blanks around them
// are one type.
class TypeColumn : public RowSink {
public:
    TypeColumn(const std::string& fileName, const std::optional<std::string>& columnName,
               const SignalLimits& limits = {});

    void Sheet(const std::string& name) override { m_sheet = name; }
    void Row(uint32_t number, const std::vector<std::string>& cells) override;

    // The types in the order they first appear. Throws SignalListError when no header row was
    // found.
    const std::vector<SignalType>& Types() const;
    const RowList& RowsWithoutType() const { return m_withoutType; }
    const std::string& SheetName() const { return m_sheet; }

private:
    void FindHeader(uint32_t number, const std::vector<std::string>& cells);
    void AddType(uint32_t number, const std::string& cell);
    [[noreturn]] void Fail(const std::string& detail, uint32_t row, uint32_t column) const;

    std::string m_file;
    std::string m_sheet;
    std::vector<std::string> m_wantedKeys;
    std::string m_wantedText;
    const SignalLimits m_limits;
    std::optional<uint32_t> m_column; // 0-based, once the header is found
    uint32_t m_rowsSearched = 0;
    std::vector<std::string> m_firstRow;
    std::vector<SignalType> m_types;
    std::unordered_map<std::string, size_t> m_typeIndex;
    RowList m_withoutType;
};

} // namespace pinsum
