#include "model/cio_solution.h"

#include "model/archive.h"
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

void CioSolution::ResolveRefs() {
    CioArray::ResolveRefs();
    controller.Resolve();
    for (const auto& item : remaining)
        item->ResolveRefs();
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

} // namespace pinsum
