#include "signals/xlsx_parts.h"

namespace pinsum {
namespace {

constexpr char kNamespaceSeparator = '\x01';

std::string_view LocalName(std::string_view name) {
    const size_t separator = name.rfind(kNamespaceSeparator);
    return separator != std::string_view::npos ? name.substr(separator + 1) : name;
}

} // namespace

const char* XmlAttribute(const char** attributes, std::string_view name) {
    for (const char** a = attributes; a != nullptr && a[0] != nullptr; a += 2)
        if (LocalName(a[0]) == name)
            return a[1];
    return nullptr;
}

} // namespace pinsum
