#pragma once

#include <string>

namespace pinsum {

class CioDb;
class CioProject;

// A readable UTF-8 tree of a catalogue whose totals are computed: the four lists with every
// item's fields, references and totals. References are written as in the JSON form.
std::string CatalogueReport(const CioDb& db);

// A readable UTF-8 text of a planner project: the request items, the series checked for the
// design and every solution with its equipment and the request it leaves.
std::string ProjectReport(const CioProject& project);

} // namespace pinsum
