#include "unicode_names.h"

#include <cstdlib>
#include <memory>

#include <utf8proc.h>

#include "solver/search_request.h"

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
    for (RequestedCount& count : request.counts)
        count.kind = ComposedName(count.kind);
    for (std::string& name : request.terminalsEnabled)
        name = ComposedName(name);
    if (request.series)
        for (std::string& name : *request.series)
            name = ComposedName(name);
    for (std::string& name : request.uncheckedDevices)
        name = ComposedName(name);
}

} // namespace pinsum::cli
