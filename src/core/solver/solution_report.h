#pragma once

#include <string>

namespace pinsum {

class CioProject;

// The report text of every solution of the project, as the calculator's detail view shows it:
// UTF-8 with "\n" line ends, every control character but its own tabs and line ends escaped, so
// that a name cannot drive the terminal it is printed on.
std::string SolutionsReport(const CioProject& project);

} // namespace pinsum
