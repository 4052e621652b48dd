#include "unicode_names.h"

#include <cstdlib>
#include <memory>
#include <unordered_map>

#include <utf8proc.h>

#include "host/input_quote.h"
#include "host/program_texts.h"
#include "solver/search_request.h"
#include "translation.h"

namespace pinsum::cli {

std::string ComposedName(std::string_view utf8) {
    utf8proc_uint8_t* composed = nullptr;
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                     static_cast<utf8proc_ssize_t>(utf8.size()), &composed,
                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(composed, &std::free);
    if (length < 0)
        return std::string(utf8);
    return std::string(reinterpret_cast<const char*>(composed), static_cast<size_t>(length));
}

void ComposeNames(SearchRequest& request) {
    // Keys that differ only in their form would count one kind twice, the last silently winning;
    // they are refused as a key given twice is.
    std::unordered_map<std::string, std::string> written;
    for (RequestedCount& count : request.counts) {
        std::string composed = ComposedName(count.kind);
        const auto [first, added] = written.try_emplace(composed, count.kind);
        if (!added)
            throw RequestError(
                std::string("counts: ") +
                FormatText(Tr("the keys %s and %s are the same name in Unicode normal form C"),
                           {QuoteInput(first->second), QuoteInput(count.kind)}));
        count.kind = std::move(composed);
    }
    for (std::string& name : request.terminalsEnabled)
        name = ComposedName(name);
    if (request.series)
        for (std::string& name : *request.series)
            name = ComposedName(name);
    for (std::string& name : request.uncheckedDevices)
        name = ComposedName(name);
}

} // namespace pinsum::cli
