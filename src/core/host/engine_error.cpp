#include "host/engine_error.h"

#include <cstring>

namespace pinsum {
namespace {

std::string WithPlace(const std::string& detail, const ErrorPlace& place) {
    std::string text;
    if (!place.file.empty())
        text += place.file + ": ";
    if (place.offset)
        text += "offset " + std::to_string(*place.offset) + ": ";
    if (!place.object.empty())
        text += place.object + ": ";
    return text + detail;
}

} // namespace

EngineError::EngineError(const std::string& detail, ErrorPlace place)
    : EngineError(WithPlace(detail, place), detail, place) {}

EngineError::EngineError(const std::string& message, const std::string& detail,
                         const ErrorPlace& place)
    : std::runtime_error(message), m_place(place), m_detail(detail) {}

FileError::FileError(const std::string& what, const std::string& path, int code)
    : EngineError(what + " '" + path + "': " + std::strerror(code), std::strerror(code),
                  ErrorPlace{path, std::nullopt, {}}),
      m_code(code) {}

} // namespace pinsum
