#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "signals/signal_limits.h"
#include "signals/type_column.h"

namespace pinsum {

class CioDb;
class CioNode;
class CioProject;
class CioType;
class KindMap;
struct SearchRequest;

struct SignalListOptions {
    // The worksheet of an XLSX file; none: the first.
    std::optional<std::string> sheet;
    // The header of the type column; none: one of DefaultTypeColumns().
    std::optional<std::string> typeColumn;
    SignalLimits limits;
};

struct KindCount {
    const CioType* kind;
    uint64_t count;
};

// A signal type that is no catalogue IO kind and that the map file does not name, with the
// catalogue's names most like it (UTF-8).
struct UnmappedType {
    std::string type;
    RowList rows;
    std::vector<std::string> hints;
};

// What a signal list asks for.
struct SignalImport {
    // The worksheet read; empty for CSV.
    std::string sheet;
    // The IO kinds the list's signals map to, in the catalogue's order, each with its number of
    // signals; kinds without signals are left out.
    std::vector<KindCount> counts;
    std::vector<UnmappedType> unmapped;
    // Rows below the header whose type cell is empty.
    RowList withoutType;
    // Rows whose type the map file marks as no IO point.
    RowList leftOut;
};

// Reads a signal list, XLSX or CSV by its content, and maps its types to the catalogue's IO
// kinds: a kind of that name first (letter case and normal form aside), then the map file's
// entry. Throws SignalListError for a list that cannot be read; types that map to nothing are
// not an error here but listed in unmapped, so that the caller can say so in its own way.
SignalImport ImportSignalList(std::span<const uint8_t> bytes, const std::string& fileName,
                              const CioDb& catalogue, const SignalListOptions& options = {},
                              const KindMap* map = nullptr);

// Reads a signal list file, refusing one larger than the limit before reading it. Throws
// FileError or SignalListError.
std::vector<uint8_t> ReadSignalListFile(const std::string& path, const SignalLimits& limits = {});

// One line naming every unmapped type with its rows and hints, for an error message.
std::string UnmappedTypesText(const std::vector<UnmappedType>& unmapped);

// "rows 4, 9 and 3 more": the rows of the list, for a message.
std::string RowsText(const RowList& rows);

// The request of the catalogue's template (every IO kind, the default series, level 0) with the
// list's counts; terminal kinds the list asks for are enabled. Throws SignalListError when a kind
// has more signals than a request takes.
SearchRequest RequestFromSignals(const CioProject& project, const SignalImport& import,
                                 const std::string& fileName);

// Sets the project's request items to the list's counts, as the calculator loads a list: every
// IO kind's item to its number of signals, 0 where the list has none, and checks the terminal
// items the list names; the other check marks and the series stay as the user set them. Returns
// the terminal items it checked. Throws SignalListError, before anything changes, when a kind has
// more signals than a request takes.
std::vector<CioNode*> ApplySignalCounts(const SignalImport& import, CioProject& project,
                                        const std::string& fileName);

} // namespace pinsum
