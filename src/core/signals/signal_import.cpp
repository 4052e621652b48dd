#include "signals/signal_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <unordered_map>

#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/text_codec.h"
#include "model/cio_db.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "signals/csv_reader.h"
#include "signals/kind_mapping.h"
#include "signals/signal_list_error.h"
#include "signals/xlsx_reader.h"
#include "solver/search_request.h"

namespace pinsum {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::string_view(reinterpret_cast<const char*>(bytes.data()), magic.size()) == magic;
}

bool IsZip(std::span<const uint8_t> bytes) {
    return StartsWith(bytes, "PK\x03\x04") || StartsWith(bytes, "PK\x05\x06");
}

// The compound file of the old binary workbooks, which encrypted XLSX files use too.
bool IsCompoundFile(std::span<const uint8_t> bytes) {
    return StartsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

void ReadRows(std::span<const uint8_t> bytes, const std::string& fileName,
              const SignalListOptions& options, TypeColumn& types) {
    if (bytes.size() > options.limits.fileBytes)
        throw SignalListError("the file is larger than " +
                                  std::to_string(options.limits.fileBytes >> 20) + " MB",
                              SignalPlace{fileName, "", 0, 0});
    if (IsCompoundFile(bytes))
        throw SignalListError("an encrypted workbook or the old .xls format: save the list as "
                              ".xlsx or as CSV in UTF-8",
                              SignalPlace{fileName, "", 0, 0});
    if (IsZip(bytes)) {
        ReadXlsxRows(bytes, fileName, options.sheet, types, options.limits);
        return;
    }
    if (options.sheet)
        throw SignalListError("a CSV file has no sheets to choose from",
                              SignalPlace{fileName, "", 0, 0});
    ReadCsvRows(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                fileName, types, options.limits);
}

} // namespace

SignalImport ImportSignalList(std::span<const uint8_t> bytes, const std::string& fileName,
                              const CioDb& catalogue, const SignalListOptions& options,
                              const KindMap* map) {
    TypeColumn types(fileName, options.typeColumn, options.limits);
    ReadRows(bytes, fileName, options, types);
    const KindIndex kinds(catalogue);
    SignalImport import;
    import.sheet = types.SheetName();
    import.withoutType = types.RowsWithoutType();
    std::unordered_map<const CioType*, uint64_t> counts;
    for (const SignalType& type : types.Types()) {
        if (const CioType* kind = kinds.Find(type.text)) {
            counts[kind] += type.rows.count;
        } else if (const KindMap::Entry* entry = map != nullptr ? map->Find(type.text) : nullptr) {
            if (entry->kind != nullptr)
                counts[entry->kind] += type.rows.count;
            else
                import.leftOut.Merge(type.rows);
        } else {
            import.unmapped.push_back({type.text, type.rows, kinds.Hints(type.text)});
        }
    }
    for (const auto& child : catalogue.ioKinds.children)
        if (const auto found = counts.find(child.get()); found != counts.end())
            import.counts.push_back({child.get(), found->second});
    return import;
}

std::vector<uint8_t> ReadSignalListFile(const std::string& path, const SignalLimits& limits) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        throw FileError("cannot read", path, errno);
    if (S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) > limits.fileBytes)
        throw SignalListError("the file is larger than " + std::to_string(limits.fileBytes >> 20) +
                                  " MB",
                              SignalPlace{path, "", 0, 0});
    return ReadFileBytes(path);
}

std::string RowsText(const RowList& rows) {
    std::string text = rows.count == 1 ? "row " : "rows ";
    for (size_t i = 0; i < rows.rows.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(rows.rows[i]);
    if (rows.count > rows.rows.size())
        text += " and " + std::to_string(rows.count - rows.rows.size()) + " more";
    return text;
}

std::string UnmappedTypesText(const std::vector<UnmappedType>& unmapped) {
    std::string text;
    for (const UnmappedType& type : unmapped) {
        text += (text.empty() ? "" : "; ") + QuoteInput(type.type) + " (" + RowsText(type.rows);
        std::string hints;
        for (size_t i = 0; i < type.hints.size(); ++i)
            hints += std::string(i == 0                       ? ""
                                 : i + 1 == type.hints.size() ? " or "
                                                              : ", ") +
                     QuoteInput(type.hints[i]);
        text += (hints.empty() ? "" : ": did you mean " + hints + "?") + ")";
    }
    return text;
}

namespace {

void CheckRequestable(const SignalImport& import, const std::string& fileName) {
    for (const KindCount& count : import.counts)
        if (count.count > static_cast<uint64_t>(kMaxRequestedCount))
            throw SignalListError(std::to_string(count.count) + " signals of the IO kind " +
                                      QuoteInput(Cp1250ToUtf8(count.kind->name)) +
                                      ", more than a request takes (" +
                                      std::to_string(kMaxRequestedCount) + ")",
                                  SignalPlace{fileName, import.sheet, 0, 0});
}

} // namespace

SearchRequest RequestFromSignals(const CioProject& project, const SignalImport& import,
                                 const std::string& fileName) {
    CheckRequestable(import, fileName);
    SearchRequest request = TemplateRequest(project);
    for (const KindCount& count : import.counts) {
        const std::string name = Cp1250ToUtf8(count.kind->name);
        for (RequestedCount& requested : request.counts)
            if (requested.kind == name)
                requested.count = static_cast<int32_t>(count.count);
        if (count.kind->Category() != 0)
            request.terminalsEnabled.push_back(name);
    }
    return request;
}

std::vector<CioNode*> ApplySignalCounts(const SignalImport& import, CioProject& project,
                                        const std::string& fileName) {
    CheckRequestable(import, fileName);
    std::vector<CioNode*> checked;
    for (const auto& child : project.requestList.children) {
        auto* item = dynamic_cast<CioNode*>(child.get());
        if (item == nullptr || item->Kind() == nullptr)
            continue;
        const auto listed =
            std::find_if(import.counts.begin(), import.counts.end(),
                         [item](const KindCount& count) { return count.kind == item->Kind(); });
        item->count = listed != import.counts.end() ? static_cast<int32_t>(listed->count) : 0;
        if (listed != import.counts.end() && item->Kind()->Category() != 0) {
            item->flags |= FLAG_CHECKED;
            checked.push_back(item);
        }
    }
    return checked;
}

} // namespace pinsum
