#include "signals/csv_reader.h"

#include <array>
#include <vector>

#include "signals/signal_list_error.h"
#include "signals/signal_text.h"

namespace pinsum {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// The separator the first line that is not empty uses most outside quotes; the comma when it
// holds none, as a list of one column does.
char Separator(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsLineEnd(text[start]))
        ++start;
    constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
    std::array<size_t, 3> seen{};
    bool quoted = false;
    for (size_t i = start; i < text.size() && (quoted || !IsLineEnd(text[i])); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (!quoted)
            for (size_t k = 0; k < kCandidates.size(); ++k)
                seen[k] += text[i] == kCandidates[k];
    }
    size_t best = 0;
    for (size_t k = 1; k < kCandidates.size(); ++k)
        if (seen[k] > seen[best])
            best = k;
    return kCandidates[best];
}

class CsvParser {
public:
    CsvParser(std::string_view text, const std::string& fileName, RowSink& sink,
              const SignalLimits& limits)
        : m_text(text), m_file(fileName), m_sink(sink), m_limits(limits),
          m_separator(Separator(text)) {}

    void Run() {
        while (m_at < m_text.size()) {
            ReadRecord();
            m_sink.Row(m_row, m_cells);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& detail, uint32_t column) const {
        throw SignalListError(detail, SignalPlace{m_file, "", m_row, column});
    }

    void ReadRecord() {
        if (++m_row > m_limits.rows)
            Fail("the list has more than " + std::to_string(m_limits.rows) + " rows", 0);
        m_cells.clear();
        for (;;) {
            if (m_cells.size() == m_limits.columns)
                Fail("a row of more than " + std::to_string(m_limits.columns) + " columns",
                     m_limits.columns + 1);
            m_cells.emplace_back();
            const bool more = ReadField(m_cells.back());
            CheckCell(m_cells.back(), static_cast<uint32_t>(m_cells.size()));
            if (!more)
                break;
        }
        // A line that holds nothing is an empty row, not a row of one empty cell.
        if (m_cells.size() == 1 && m_cells[0].empty())
            m_cells.clear();
    }

    // Reads one field into cell; true when another field of the same record follows.
    bool ReadField(std::string& cell) {
        if (m_at < m_text.size() && m_text[m_at] == '"')
            ReadQuoted(cell);
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == m_separator)
                return true;
            if (IsLineEnd(c)) {
                if (c == '\r' && m_at < m_text.size() && m_text[m_at] == '\n')
                    ++m_at;
                return false;
            }
            cell += c;
        }
        return false;
    }

    // A quoted field up to its closing quote; what follows the quote up to the separator is
    // kept too, as spreadsheets read it.
    void ReadQuoted(std::string& cell) {
        const uint32_t column = static_cast<uint32_t>(m_cells.size());
        for (++m_at;; ++m_at) {
            if (m_at >= m_text.size())
                Fail("a quoted field is not closed", column);
            if (m_text[m_at] != '"') {
                cell += m_text[m_at];
                continue;
            }
            if (m_at + 1 < m_text.size() && m_text[m_at + 1] == '"') {
                cell += '"';
                ++m_at;
                continue;
            }
            ++m_at;
            return;
        }
    }

    void CheckCell(const std::string& cell, uint32_t column) const {
        if (InvalidUtf8At(cell) != std::string_view::npos)
            Fail("the text is not UTF-8 (save the list as CSV in UTF-8)", column);
        if (cell.size() > m_limits.cellCharacters && Utf8Length(cell) > m_limits.cellCharacters)
            Fail("a cell of more than " + std::to_string(m_limits.cellCharacters) + " characters",
                 column);
    }

    std::string_view m_text;
    const std::string& m_file;
    RowSink& m_sink;
    const SignalLimits& m_limits;
    const char m_separator;
    size_t m_at = 0;
    uint32_t m_row = 0;
    std::vector<std::string> m_cells;
};

} // namespace

void ReadCsvRows(std::string_view text, const std::string& fileName, RowSink& sink,
                 const SignalLimits& limits) {
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    CsvParser(text, fileName, sink, limits).Run();
}

} // namespace pinsum
