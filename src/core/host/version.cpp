#include "host/version.h"

#include "host/version_number.h"

namespace pinsum {

std::string GetCalculatorVersion() {
    return std::to_string(PINSUM_VERSION_MAJOR) + ", " + std::to_string(PINSUM_VERSION_MINOR) +
           ", " + std::to_string(PINSUM_VERSION_PATCH) + ", " +
           std::to_string(PINSUM_VERSION_TWEAK);
}

} // namespace pinsum
