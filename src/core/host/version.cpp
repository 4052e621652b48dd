#include "host/version.h"

namespace pinsum {

std::string GetCalculatorVersion() {
    return "1, 0, 0, 5";
}

} // namespace pinsum
