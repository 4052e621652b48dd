#pragma once

#include <string>

namespace pinsum {

// The calculator's version text as the host shows it, commas and blanks included.
std::string GetCalculatorVersion();

} // namespace pinsum
