#include "signals/type_column.h"

#include <algorithm>

#include "host/input_quote.h"
#include "signals/signal_list_error.h"
#include "signals/signal_text.h"

namespace pinsum {
namespace {

bool IsEmptyRow(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const std::string& cell) { return TrimBlanks(cell).empty(); });
}

// The first cells that hold something, quoted, so that the message says what the row is.
std::string QuotedList(const std::vector<std::string>& texts) {
    constexpr size_t kShown = 8;
    std::string list;
    size_t shown = 0;
    for (const std::string& text : texts) {
        if (TrimBlanks(text).empty())
            continue;
        if (shown++ == kShown)
            return list + ", ...";
        list += (list.empty() ? "" : ", ") + QuoteInput(TrimBlanks(text));
    }
    return list;
}

} // namespace

const std::vector<std::string>& DefaultTypeColumns() {
    static const std::vector<std::string> names = {"Typ",  "Typ signálu", "Typ IO",
                                                   "Type", "Signal type", "IO type"};
    return names;
}

TypeColumn::TypeColumn(const std::string& fileName, const std::optional<std::string>& columnName,
                       const SignalLimits& limits)
    : m_file(fileName), m_limits(limits) {
    const std::vector<std::string> names =
        columnName ? std::vector<std::string>{*columnName} : DefaultTypeColumns();
    for (const std::string& name : names) {
        m_wantedKeys.push_back(NameKey(TrimBlanks(name)));
        m_wantedText += (m_wantedText.empty() ? "" : " or ") + QuoteInput(name);
    }
}

void TypeColumn::Row(uint32_t number, const std::vector<std::string>& cells) {
    if (IsEmptyRow(cells))
        return;
    if (!m_column) {
        FindHeader(number, cells);
        return;
    }
    const std::string empty;
    AddType(number, *m_column < cells.size() ? cells[*m_column] : empty);
}

void TypeColumn::FindHeader(uint32_t number, const std::vector<std::string>& cells) {
    if (m_rowsSearched == 0)
        m_firstRow = cells;
    ++m_rowsSearched;
    // The wanted names in their order of preference, so that "Typ" wins over "Type".
    for (const std::string& key : m_wantedKeys)
        for (size_t i = 0; i < cells.size(); ++i)
            if (NameKey(TrimBlanks(cells[i])) == key) {
                m_column = i;
                return;
            }
    if (m_rowsSearched == m_limits.headerSearchRows)
        Fail("no column named " + m_wantedText + " in the first " +
                 std::to_string(m_limits.headerSearchRows) + " rows",
             number, 0);
}

void TypeColumn::AddType(uint32_t number, const std::string& cell) {
    const std::string_view text = TrimBlanks(cell);
    if (text.empty()) {
        m_withoutType.Add(number);
        return;
    }
    const uint32_t column = static_cast<uint32_t>(*m_column + 1);
    if (Utf8Length(text) > m_limits.typeCharacters)
        Fail("a signal type of more than " + std::to_string(m_limits.typeCharacters) +
                 " characters",
             number, column);
    std::string key = NameKey(text);
    const auto found = m_typeIndex.find(key);
    if (found != m_typeIndex.end()) {
        m_types[found->second].rows.Add(number);
        return;
    }
    if (m_types.size() == m_limits.distinctTypes)
        Fail("more than " + std::to_string(m_limits.distinctTypes) + " different signal types",
             number, column);
    m_typeIndex.emplace(std::move(key), m_types.size());
    m_types.push_back({std::string(text), {}});
    m_types.back().rows.Add(number);
}

const std::vector<SignalType>& TypeColumn::Types() const {
    if (!m_column) {
        const std::string found = QuotedList(m_firstRow);
        Fail("no column named " + m_wantedText +
                 (found.empty() ? std::string(": the list is empty")
                                : " (the first row holds " + found + ")"),
             0, 0);
    }
    return m_types;
}

void TypeColumn::Fail(const std::string& detail, uint32_t row, uint32_t column) const {
    throw SignalListError(detail, SignalPlace{m_file, m_sheet, row, column});
}

} // namespace pinsum
