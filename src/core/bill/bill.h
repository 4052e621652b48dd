#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pinsum {

class CioEquip;
class CioModul;
class CioModuleSelector;
class CioProject;
class CioSolution;

// A line of a bill: a device or a module with its quantity; texts are UTF-8, prices are scaled
// by 10 000 (the catalogue's currency amount) and exact.
struct BillLine {
    enum class Item { Device, Module };

    Item item;
    const CioModul* part;
    std::string marking;
    std::string name;
    int64_t quantity = 0;
    int64_t unitPrice = 0;
    int64_t linePrice = 0;
};

// A device of a solution with the modules of its configuration, one line per module (its
// quantity summed within the device), as a quotation lists it.
struct BillEquipment {
    BillLine device;
    std::vector<BillLine> modules;
    int32_t usedIo = 0;
    int32_t unusedIo = 0;
    // The device and its modules.
    int64_t price = 0;
};

struct BillKindCount {
    std::string kind;
    int32_t count = 0;
};

struct BillSolution {
    int32_t number = 0;
    // Every device and module once, its quantity summed over the solution, in the order they
    // first appear: the rows of the CSV and XLSX bills.
    std::vector<BillLine> lines;
    std::vector<BillEquipment> equipment;
    // The sum of the line prices, which is the solution's exact price.
    int64_t total = 0;
    int32_t usedIo = 0;
    int32_t unusedIo = 0;
    bool complete = false;
    bool provenCheapest = false;
    // Requested points no device could take.
    std::vector<BillKindCount> missing;
};

// One requested IO kind.
struct BillRequestRow {
    std::string kind;
    int32_t requested = 0;
    // Spare points asked for beyond the requested ones; the request has none yet.
    int32_t reserve = 0;
};

struct Bill {
    std::string catalogueName;
    // The IO kinds with a count, in the catalogue's order.
    std::vector<BillRequestRow> request;
    std::vector<BillSolution> solutions;
};

// The project's solutions that a bill lists: one by its index from 0, or all of them.
struct BillSelection {
    std::optional<size_t> index; // none: all
};

// The solutions of the project in the report's order.
std::vector<const CioSolution*> ProjectSolutions(const CioProject& project);

// The bill of the chosen solutions; an index the project does not have lists none.
Bill MakeBill(const CioProject& project, BillSelection selection = {});

// The modules a configuration really holds, with their positions (from 0): empty positions carry
// no part and no price.
std::vector<std::pair<size_t, const CioModul*>> PlacedModules(const CioModuleSelector& chosen);

// The exact price of a device and its configuration, unlike the report's, which adds whole units
// only.
int64_t EquipmentPrice(const CioEquip& equip);

// A price with its decimals always, so that a column of prices reads alike: "14900.00",
// "1250.50", "0.0001".
std::string PriceText(int64_t scaled);

} // namespace pinsum
