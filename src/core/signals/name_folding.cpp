// Names folded natively, by utf8proc.
#include <cstdlib>
#include <memory>

#include <utf8proc.h>

#include "signals/signal_text.h"

namespace pinsum {

std::string FoldedNormalForm(std::string_view utf8) {
    utf8proc_uint8_t* mapped = nullptr;
    const utf8proc_ssize_t length = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
        static_cast<utf8proc_ssize_t>(utf8.size()), &mapped,
        static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(mapped, &std::free);
    if (length < 0)
        return std::string(utf8);
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<size_t>(length));
}

} // namespace pinsum
