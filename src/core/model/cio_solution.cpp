#include "model/cio_solution.h"

#include "host/program_texts.h"
#include "model/archive.h"
#include "model/cio_equip.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"

namespace pinsum {
namespace {

constexpr size_t kMinObjectBytes = 20;

} // namespace

CioSolution::CioSolution() {
    kind = C_IO_SOLUTION_NODE;
    contentKind = C_IO_EQUIP;
}

CioSolution::~CioSolution() = default;

void CioSolution::RemoveAll() {
    CioArray::RemoveAll();
    remaining.clear();
}

void CioSolution::Store(ArchiveWriter& ar) const {
    CioArray::Store(ar);
    controller.Store(ar);
    ar.WriteInt32(static_cast<int32_t>(remaining.size()));
    for (const auto& item : remaining)
        WriteObject(ar, item.get());
    ar.WriteInt32(canExtend);
    ar.WriteInt32(number);
    ar.WriteDouble(price);
    ar.WriteInt32(0);
}

void CioSolution::Load(ArchiveReader& ar) {
    CioArray::Load(ar);
    controller.Load(ar);
    remaining.clear();
    const uint32_t count = ar.ReadCount(kMinObjectBytes);
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CioType> object = ReadObject(ar);
        auto* node = dynamic_cast<CioNode*>(object.get());
        if (node == nullptr)
            ar.Fail(ArchiveCause::BadIndex, "zbývající požadavek řešení není požadavek");
        object.release();
        remaining.emplace_back(node);
    }
    canExtend = ar.ReadInt32() != 0 ? 1 : 0;
    number = ar.ReadInt32();
    price = ar.ReadDouble();
    ar.ReadInt32();
}

void CioSolution::RenewIds() {
    CioArray::RenewIds();
    for (const auto& item : remaining)
        item->RenewIds();
}

void CioSolution::ResolveRefs(const IdentityTable& table) {
    CioArray::ResolveRefs(table);
    controller.Resolve(table);
    for (const auto& item : remaining)
        item->ResolveRefs(table);
}

void CioSolution::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    const auto* solution = dynamic_cast<const CioSolution*>(other);
    if (solution == nullptr)
        return;
    CopyListFrom(*solution);
    remaining.clear();
    for (const auto& item : solution->remaining) {
        auto copy = std::make_unique<CioNode>();
        copy->CopyFrom(item.get());
        remaining.push_back(std::move(copy));
    }
    lineSet = solution->lineSet;
}

CioEquip* CioSolution::Equipment(size_t index) const {
    return index < children.size() ? dynamic_cast<CioEquip*>(children[index].get()) : nullptr;
}

double CioSolution::TotalPrice() const {
    double total = 0.0;
    for (size_t i = 0; i < children.size(); ++i)
        if (const CioEquip* equip = Equipment(i))
            total += equip->ConfiguredPrice();
    return total;
}

double CioSolution::GetPrice() {
    price = 0.0;
    for (size_t i = 0; i < children.size(); ++i)
        if (CioEquip* equip = Equipment(i))
            price += equip->GetPrice();
    return price;
}

int32_t CioSolution::GetIoCount(bool used) const {
    int32_t total = 0;
    for (size_t i = 0; i < children.size(); ++i)
        if (const CioEquip* equip = Equipment(i))
            total += equip->GetIoCount(used);
    return total;
}

int CioSolution::IsSameAs(const CioType* earlier) const {
    const auto* other = dynamic_cast<const CioSolution*>(earlier);
    if (other == nullptr || other->kind != C_IO_SOLUTION_NODE)
        return 0;
    if (children.empty())
        return 1;
    for (const auto& [module, count] : other->moduleCounts) {
        const uint16_t* mine = moduleCounts.Find(module);
        if (mine == nullptr || *mine != count)
            return 0;
    }
    return 1;
}

void CioSolution::Describe(std::string& text, const std::string& prefix) const {
    const double total = TotalPrice();
    std::string line =
        FormatText(TextId::ReportSolutionLine,
                   {std::to_string(number), WholeUnitsText(total), std::to_string(GetIoCount(true)),
                    std::to_string(GetIoCount(false))});
    if (provenCheapest && line.ends_with("\r\n"))
        line.insert(line.size() - 2, " - " + ProgramText(TextId::ProvenCheapest));
    text += prefix + line;
    const std::string inner = prefix + "\t";
    for (size_t i = 0; i < children.size(); ++i)
        if (const CioEquip* equip = Equipment(i))
            equip->Describe(text, inner);
}

} // namespace pinsum
