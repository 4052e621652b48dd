#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace pinsum {

class CioType;

enum class ColumnAlign { Left, Centre, Right };

// Row backgrounds: two system colours the display resolves, and two fixed ones.
enum class RowColour { Face, Window, Red, Orange };
constexpr uint32_t kRedRgb = 0xFF0000;
constexpr uint32_t kOrangeRgb = 0xFFB366;

// The result list the project fills with one solution: four texts per row (Windows-1250), the
// object the row describes (none for the header, separator and unplaced rows) and its colour.
// Called on the user-interface thread, from CioProject::ShowSolution.
class ResultTable {
public:
    virtual ~ResultTable() = default;
    virtual bool HasWindow() const = 0;
    virtual void DeleteAllRows() = 0;
    virtual int ColumnCount() const = 0;
    virtual void InsertColumn(int index, const std::string& heading, ColumnAlign align,
                              int width) = 0;
    virtual void AddRow(const std::array<std::string, 4>& cells, const CioType* object,
                        RowColour colour) = 0;
    virtual int RowCount() const = 0;
    // Selects and focuses a row.
    virtual void SelectRow(int row) = 0;
};

// Shortens a text that does not fit a cell: characters are dropped from its end until the rest
// followed by "..." fits (down to "..." alone). measure gives a text's width in pixels.
std::string ShortenToWidth(const std::string& text, int width,
                           const std::function<int(const std::string&)>& measure);

} // namespace pinsum
