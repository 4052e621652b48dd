#include "signals/xlsx_reader.h"

#include <charconv>
#include <vector>

#include "host/input_quote.h"
#include "signals/signal_list_error.h"
#include "signals/signal_text.h"
#include "signals/xlsx_parts.h"

namespace pinsum {
namespace {

constexpr const char* kPackageRelationships = "_rels/.rels";
constexpr const char* kDefaultWorkbook = "xl/workbook.xml";
// The largest row and column a worksheet can have.
constexpr uint32_t kSheetRows = 1'048'576;
constexpr uint32_t kSheetColumns = 16'384;

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A relationship's target as a part name: absolute ("/xl/worksheets/sheet1.xml") or relative
// to the folder of the part that names it, with "." and ".." resolved.
std::string ResolveTarget(const std::string& source, std::string_view target) {
    std::vector<std::string> segments;
    if (!target.starts_with('/')) {
        const size_t slash = source.rfind('/');
        std::string_view folder =
            slash == std::string::npos ? "" : std::string_view(source).substr(0, slash);
        while (!folder.empty()) {
            const size_t next = folder.find('/');
            segments.emplace_back(folder.substr(0, next));
            folder = next == std::string_view::npos ? "" : folder.substr(next + 1);
        }
    }
    while (!target.empty()) {
        const size_t next = target.find('/');
        const std::string_view segment = target.substr(0, next);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.emplace_back(segment);
        }
        target = next == std::string_view::npos ? "" : target.substr(next + 1);
    }
    std::string part;
    for (const std::string& segment : segments)
        part += (part.empty() ? "" : "/") + segment;
    return part;
}

// The relationships part of a part: "xl/workbook.xml" has "xl/_rels/workbook.xml.rels".
std::string RelationshipsOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    if (slash == std::string::npos)
        return "_rels/" + part + ".rels";
    return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

struct Relationship {
    std::string id;
    std::string type;
    std::string target;
};

class RelationshipsReader : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name != "Relationship")
            return;
        const char* id = XmlAttribute(attributes, "Id");
        const char* type = XmlAttribute(attributes, "Type");
        const char* target = XmlAttribute(attributes, "Target");
        const char* mode = XmlAttribute(attributes, "TargetMode");
        if (id != nullptr && type != nullptr && target != nullptr &&
            (mode == nullptr || std::string_view(mode) != "External"))
            relationships.push_back({id, type, target});
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

    std::vector<Relationship> relationships;
};

struct SheetEntry {
    std::string name;
    std::string relationship;
};

class WorkbookReader : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name != "sheet")
            return;
        const char* sheetName = XmlAttribute(attributes, "name");
        const char* id = XmlAttribute(attributes, "id");
        if (sheetName != nullptr && id != nullptr)
            sheets.push_back({sheetName, id});
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

    std::vector<SheetEntry> sheets;
};

// Collects a text of runs (<t> elements, phonetic runs <rPh> left out) up to the cell limit.
class RunText {
public:
    RunText(const SignalLimits& limits) : m_maxBytes(size_t{4} * limits.cellCharacters) {}

    void Clear() { m_text.clear(); }
    // Whether the text went beyond the limit; the excess is not kept.
    bool Append(std::string_view piece) {
        if (m_text.size() + piece.size() > m_maxBytes)
            return false;
        m_text += piece;
        return true;
    }
    const std::string& Text() const { return m_text; }

private:
    size_t m_maxBytes;
    std::string m_text;
};

class SharedStringsReader : public XmlHandler {
public:
    SharedStringsReader(const std::string& fileName, const SignalLimits& limits)
        : m_file(fileName), m_limits(limits), m_text(limits) {}

    void Start(std::string_view name, const char**) override {
        if (name == "si") {
            if (strings.size() == m_limits.sharedStrings)
                Fail("the workbook holds more than " + std::to_string(m_limits.sharedStrings) +
                     " shared strings");
            m_text.Clear();
            m_inItem = true;
        } else if (name == "rPh") {
            m_inPhonetic = true;
        } else if (name == "t") {
            m_inText = m_inItem && !m_inPhonetic;
        }
    }
    void End(std::string_view name) override {
        if (name == "si") {
            strings.push_back(m_text.Text());
            m_inItem = false;
        } else if (name == "rPh") {
            m_inPhonetic = false;
        } else if (name == "t") {
            m_inText = false;
        }
    }
    void Text(std::string_view text) override {
        if (m_inText && !m_text.Append(text))
            Fail("shared string " + std::to_string(strings.size()) + " has more than " +
                 std::to_string(m_limits.cellCharacters) + " characters");
    }

    std::vector<std::string> strings;

private:
    [[noreturn]] void Fail(const std::string& detail) const {
        throw SignalListError(detail, SignalPlace{m_file, "", 0, 0});
    }

    const std::string& m_file;
    const SignalLimits& m_limits;
    RunText m_text;
    bool m_inItem = false;
    bool m_inPhonetic = false;
    bool m_inText = false;
};

std::optional<uint32_t> ParseNumber(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The column of a cell reference ("BC12" is 55); 0 for a reference without letters or beyond
// the sheet's last column.
uint32_t ReferenceColumn(std::string_view reference) {
    uint32_t column = 0;
    for (char c : reference) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + static_cast<uint32_t>(c - 'A' + 1);
        if (column > kSheetColumns)
            return 0;
    }
    return column;
}

class SheetReader : public XmlHandler {
public:
    SheetReader(const std::string& fileName, const std::string& sheet,
                const std::vector<std::string>& shared, RowSink& sink, const SignalLimits& limits)
        : m_file(fileName), m_sheet(sheet), m_shared(shared), m_sink(sink), m_limits(limits),
          m_text(limits) {}

    void Start(std::string_view name, const char** attributes) override {
        if (name == "row")
            StartRow(attributes);
        else if (name == "c")
            StartCell(attributes);
        else if (name == "v")
            m_collect = m_inCell;
        else if (name == "is")
            m_inInline = m_inCell;
        else if (name == "rPh")
            m_inPhonetic = true;
        else if (name == "t")
            m_collect = m_inInline && !m_inPhonetic;
    }

    void End(std::string_view name) override {
        if (name == "row")
            EndRow();
        else if (name == "c")
            EndCell();
        else if (name == "v" || name == "t")
            m_collect = false;
        else if (name == "is")
            m_inInline = false;
        else if (name == "rPh")
            m_inPhonetic = false;
    }

    void Text(std::string_view text) override {
        if (m_collect && !m_text.Append(text))
            Fail("a cell of more than " + std::to_string(m_limits.cellCharacters) + " characters",
                 m_column);
    }

private:
    [[noreturn]] void Fail(const std::string& detail, uint32_t column) const {
        throw SignalListError(detail, SignalPlace{m_file, m_sheet, m_row, column});
    }

    void StartRow(const char** attributes) {
        const char* number = XmlAttribute(attributes, "r");
        const std::optional<uint32_t> row = number != nullptr ? ParseNumber(number) : m_row + 1;
        if (!row || *row == 0 || *row > kSheetRows || *row <= m_row)
            Fail("a row numbered " + QuoteInput(number != nullptr ? number : "") + " after row " +
                     std::to_string(m_row),
                 0);
        m_row = *row;
        if (++m_rowsRead > m_limits.rows)
            Fail("the sheet has more than " + std::to_string(m_limits.rows) + " rows", 0);
        m_column = 0;
        m_cells.clear();
    }

    void StartCell(const char** attributes) {
        const char* reference = XmlAttribute(attributes, "r");
        const uint32_t column = reference != nullptr ? ReferenceColumn(reference) : m_column + 1;
        if (column == 0 || column <= m_column)
            Fail("a cell " + QuoteInput(reference != nullptr ? reference : "") +
                     " out of place after column " + ColumnLetters(m_column),
                 0);
        m_column = column;
        const char* type = XmlAttribute(attributes, "t");
        m_type = type != nullptr ? type : "n";
        m_text.Clear();
        m_inCell = true;
    }

    void EndCell() {
        m_inCell = false;
        m_collect = false;
        m_inInline = false;
        std::string value = CellValue();
        if (value.empty())
            return;
        if (m_column > m_limits.columns)
            Fail("a cell beyond the first " + std::to_string(m_limits.columns) + " columns",
                 m_column);
        if (Utf8Length(value) > m_limits.cellCharacters)
            Fail("a cell of more than " + std::to_string(m_limits.cellCharacters) + " characters",
                 m_column);
        if (m_cells.size() < m_column)
            m_cells.resize(m_column);
        m_cells[m_column - 1] = std::move(value);
    }

    std::string CellValue() const {
        const std::string& text = m_text.Text();
        if (m_type == "s") {
            const std::optional<uint32_t> index = ParseNumber(TrimBlanks(text));
            if (!index || *index >= m_shared.size())
                Fail("the cell refers to shared string " + QuoteInput(text) +
                         ", which the workbook does not have",
                     m_column);
            return m_shared[*index];
        }
        if (m_type == "b")
            return text == "1" ? "TRUE" : text == "0" ? "FALSE" : text;
        return text;
    }

    void EndRow() {
        m_sink.Row(m_row, m_cells);
        m_cells.clear();
    }

    const std::string& m_file;
    const std::string& m_sheet;
    const std::vector<std::string>& m_shared;
    RowSink& m_sink;
    const SignalLimits& m_limits;
    RunText m_text;
    std::vector<std::string> m_cells;
    std::string m_type;
    uint32_t m_rowsRead = 0;
    uint32_t m_row = 0;
    uint32_t m_column = 0;
    bool m_inCell = false;
    bool m_inInline = false;
    bool m_inPhonetic = false;
    bool m_collect = false;
};

class XlsxFile {
public:
    XlsxFile(const XlsxParts& parts, const std::string& fileName, const SignalLimits& limits)
        : m_file(fileName), m_limits(limits), m_parts(parts) {}

    void ReadSheet(const std::optional<std::string>& sheet, RowSink& sink) {
        const std::string workbook = WorkbookPart();
        const std::vector<Relationship> relationships = Relationships(workbook);
        WorkbookReader sheets;
        Parse(workbook, m_limits.smallPartBytes, sheets);
        const auto [name, part] = ChosenSheet(sheets.sheets, relationships, workbook, sheet);
        std::vector<std::string> shared;
        for (const Relationship& relationship : relationships)
            if (EndsWith(relationship.type, "/sharedStrings")) {
                SharedStringsReader reader(m_file, m_limits);
                Parse(ResolveTarget(workbook, relationship.target), m_limits.sharedStringsBytes,
                      reader);
                shared = std::move(reader.strings);
            }
        sink.Sheet(name);
        SheetReader reader(m_file, name, shared, sink, m_limits);
        Parse(part, m_limits.sheetBytes, reader);
    }

private:
    [[noreturn]] void Fail(const std::string& detail) const {
        throw SignalListError(detail, SignalPlace{m_file, "", 0, 0});
    }

    void Parse(const std::string& part, size_t maxBytes, XmlHandler& handler) const {
        m_parts.Parse(part, maxBytes, handler);
    }

    std::vector<Relationship> Relationships(const std::string& part) const {
        const std::string relationships = RelationshipsOf(part);
        if (!m_parts.Has(relationships))
            Fail("the part " + QuoteInput(relationships) + " is missing");
        RelationshipsReader reader;
        Parse(relationships, m_limits.smallPartBytes, reader);
        return std::move(reader.relationships);
    }

    // The workbook the package names; the usual name when the package names none.
    std::string WorkbookPart() const {
        if (m_parts.Has(kPackageRelationships)) {
            RelationshipsReader reader;
            Parse(kPackageRelationships, m_limits.smallPartBytes, reader);
            for (const Relationship& relationship : reader.relationships)
                if (EndsWith(relationship.type, "/officeDocument"))
                    return ResolveTarget("", relationship.target);
        }
        if (!m_parts.Has(kDefaultWorkbook))
            Fail("no workbook in the file (is it a spreadsheet?)");
        return kDefaultWorkbook;
    }

    std::pair<std::string, std::string>
    ChosenSheet(const std::vector<SheetEntry>& sheets,
                const std::vector<Relationship>& relationships, const std::string& workbook,
                const std::optional<std::string>& wanted) const {
        std::string names;
        for (const SheetEntry& entry : sheets) {
            names += (names.empty() ? "" : ", ") + QuoteInput(entry.name);
            if (wanted && NameKey(entry.name) != NameKey(*wanted))
                continue;
            for (const Relationship& relationship : relationships) {
                if (relationship.id != entry.relationship)
                    continue;
                if (EndsWith(relationship.type, "/worksheet"))
                    return {entry.name, ResolveTarget(workbook, relationship.target)};
                if (wanted)
                    Fail("the sheet " + QuoteInput(entry.name) + " is no worksheet");
            }
        }
        if (!wanted)
            Fail("the workbook has no worksheet");
        Fail("no sheet " + QuoteInput(*wanted) + " in the workbook (it has " +
             (names.empty() ? std::string("none") : names) + ")");
    }

    const std::string& m_file;
    const SignalLimits& m_limits;
    const XlsxParts& m_parts;
};

} // namespace

void ReadXlsxRows(const XlsxParts& parts, const std::string& fileName,
                  const std::optional<std::string>& sheet, RowSink& sink,
                  const SignalLimits& limits) {
    XlsxFile(parts, fileName, limits).ReadSheet(sheet, sink);
}

void ReadXlsxRows(std::span<const uint8_t> bytes, const std::string& fileName,
                  const std::optional<std::string>& sheet, RowSink& sink,
                  const SignalLimits& limits) {
    ReadXlsxRows(*OpenXlsxParts(bytes, fileName, limits), fileName, sheet, sink, limits);
}

} // namespace pinsum
