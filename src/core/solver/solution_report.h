#pragma once

#include <string>

namespace pinsum {

class CioProject;

// The report text of every solution of the project, as the calculator's detail view shows it:
// UTF-8 with "\n" line ends.
std::string SolutionsReport(const CioProject& project);

} // namespace pinsum
