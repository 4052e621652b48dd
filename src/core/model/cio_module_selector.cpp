#include "model/cio_module_selector.h"

#include <algorithm>

#include "host/program_texts.h"
#include "model/archive.h"
#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

namespace pinsum {

using StoredMap = std::vector<std::pair<uint32_t, uint16_t>>;

struct CioModuleSelector::Stored {
    StoredMap remaining;
    std::vector<uint32_t> variants;
    std::vector<uint32_t> modules;
    uint32_t device = 0;
    // A missing map is stored as an empty one.
    std::vector<StoredMap> positionMaps;
};

namespace {

void WriteMap(ArchiveWriter& ar, const KindCountMap& map) {
    ar.WriteInt32(static_cast<int32_t>(map.Size()));
    for (const auto& [kind, count] : map) {
        WriteRef(ar, kind);
        ar.WriteUInt16(count);
    }
}

void WriteStoredMap(ArchiveWriter& ar, const StoredMap& map) {
    ar.WriteInt32(static_cast<int32_t>(map.size()));
    for (const auto& [id, count] : map) {
        ar.WriteUInt32(id);
        ar.WriteUInt16(count);
    }
}

StoredMap ReadStoredMap(ArchiveReader& ar) {
    StoredMap map(ar.ReadCount(6));
    for (auto& [id, count] : map) {
        id = ReadRef(ar);
        count = ar.ReadUInt16();
    }
    return map;
}

template <class T> void WriteRefs(ArchiveWriter& ar, const std::vector<T*>& objects) {
    ar.WriteInt32(static_cast<int32_t>(objects.size()));
    for (const T* object : objects)
        WriteRef(ar, object);
}

void WriteIds(ArchiveWriter& ar, const std::vector<uint32_t>& ids) {
    ar.WriteInt32(static_cast<int32_t>(ids.size()));
    for (const uint32_t id : ids)
        ar.WriteUInt32(id);
}

std::vector<uint32_t> ReadIds(ArchiveReader& ar) {
    std::vector<uint32_t> ids(ar.ReadCount(4));
    for (auto& id : ids)
        id = ReadRef(ar);
    return ids;
}

void WriteIndexes(ArchiveWriter& ar, const std::vector<uint16_t>& values) {
    ar.WriteInt32(static_cast<int32_t>(values.size()));
    for (const uint16_t value : values)
        ar.WriteUInt16(value);
}

std::vector<uint16_t> ReadIndexes(ArchiveReader& ar) {
    std::vector<uint16_t> values(ar.ReadCount(2));
    for (auto& value : values)
        value = ar.ReadUInt16();
    return values;
}

KindCountMap RelinkMap(const IdentityTable& table, const StoredMap& stored) {
    KindCountMap map;
    for (const auto& [id, count] : stored)
        if (CioType* kind = table.Find(id))
            map[kind] = count;
    return map;
}

// A position holds a variant, or the empty module as the idle marker.
CioType* ResolveVariant(const IdentityTable& table, uint32_t id) {
    CioType* object = table.Find(id);
    if (object == &EmptyModule() || dynamic_cast<CioVariant*>(object) != nullptr)
        return object;
    return nullptr;
}

} // namespace

CioModuleSelector::CioModuleSelector() = default;
CioModuleSelector::~CioModuleSelector() = default;

void CioModuleSelector::Store(ArchiveWriter& ar) const {
    if (m_stored != nullptr) {
        WriteStoredMap(ar, m_stored->remaining);
        WriteIds(ar, m_stored->variants);
        WriteIds(ar, m_stored->modules);
    } else {
        WriteMap(ar, remaining);
        WriteRefs(ar, variants);
        WriteRefs(ar, modules);
    }
    WriteIndexes(ar, moduleIndexes);
    WriteIndexes(ar, variantIndexes);
    ar.WriteInt32(startPosition);
    if (m_stored != nullptr)
        ar.WriteUInt32(m_stored->device);
    else
        WriteRef(ar, device);
    ar.WriteInt32(validStructure);
    ar.WriteInt32(usedPositions);
    ar.WriteInt32(coveredTotal);
    ar.WriteInt32(price.status);
    ar.WriteInt32(static_cast<int32_t>(price.scaled >> 32));
    ar.WriteUInt32(static_cast<uint32_t>(price.scaled));
    if (m_stored != nullptr) {
        ar.WriteInt32(static_cast<int32_t>(m_stored->positionMaps.size()));
        for (const auto& map : m_stored->positionMaps)
            WriteStoredMap(ar, map);
    } else {
        ar.WriteInt32(static_cast<int32_t>(positionMaps.size()));
        for (const auto& map : positionMaps)
            if (map != nullptr)
                WriteMap(ar, *map);
            else
                ar.WriteInt32(0);
    }
    ar.WriteInt32(0);
}

void CioModuleSelector::Load(ArchiveReader& ar) {
    auto stored = std::make_unique<Stored>();
    stored->remaining = ReadStoredMap(ar);
    stored->variants = ReadIds(ar);
    stored->modules = ReadIds(ar);
    moduleIndexes = ReadIndexes(ar);
    variantIndexes = ReadIndexes(ar);
    startPosition = ar.ReadInt32();
    stored->device = ReadRef(ar);
    validStructure = ar.ReadInt32() != 0 ? 1 : 0;
    usedPositions = ar.ReadInt32();
    coveredTotal = ar.ReadInt32();
    price.status = ar.ReadInt32();
    const int64_t high = ar.ReadInt32();
    price.scaled = static_cast<int64_t>(static_cast<uint64_t>(high) << 32 | ar.ReadUInt32());
    // The price is the sum of some of the modules' prices, each within the catalogue's range.
    const auto largest = static_cast<uint64_t>(kMaxPriceScaled);
    if (price.scaled < 0 ||
        (static_cast<uint64_t>(price.scaled) + largest - 1) / largest > stored->modules.size())
        ar.Fail(ArchiveCause::BadIndex,
                "cena konfigurace " + FormatPrice(price) + " není v rozsahu cen jejích modulů");
    stored->positionMaps.resize(ar.ReadCount(4));
    for (auto& map : stored->positionMaps)
        map = ReadStoredMap(ar);
    ar.ReadInt32();
    remaining.Clear();
    variants.clear();
    modules.clear();
    positionMaps.clear();
    device = nullptr;
    m_stored = std::move(stored);
}

void CioModuleSelector::Relink(const IdentityTable& table) {
    if (m_stored == nullptr)
        return;
    remaining = RelinkMap(table, m_stored->remaining);
    variants.clear();
    for (const uint32_t id : m_stored->variants)
        variants.push_back(ResolveVariant(table, id));
    modules.clear();
    for (const uint32_t id : m_stored->modules)
        modules.push_back(dynamic_cast<CioModul*>(table.Find(id)));
    CioType* resolvedDevice = table.Find(m_stored->device);
    device = resolvedDevice != nullptr && resolvedDevice->kind == C_PLC_IO
                 ? dynamic_cast<CioPlc*>(resolvedDevice)
                 : nullptr;
    positionMaps.clear();
    for (const auto& map : m_stored->positionMaps)
        positionMaps.push_back(std::make_unique<KindCountMap>(RelinkMap(table, map)));
    m_stored.reset();
}

std::unique_ptr<CioModuleSelector> CioModuleSelector::Clone() const {
    auto copy = std::make_unique<CioModuleSelector>();
    copy->validStructure = validStructure;
    copy->moduleIndexes = moduleIndexes;
    copy->modules = modules;
    copy->device = device;
    copy->startPosition = startPosition;
    copy->variantIndexes = variantIndexes;
    copy->variants = variants;
    copy->usedPositions = usedPositions;
    copy->coveredTotal = coveredTotal;
    copy->price = price;
    copy->remaining = remaining;
    for (const auto& map : positionMaps)
        copy->positionMaps.push_back(map != nullptr ? std::make_unique<KindCountMap>(*map)
                                                    : nullptr);
    if (m_stored != nullptr)
        copy->m_stored = std::make_unique<Stored>(*m_stored);
    return copy;
}

int CioModuleSelector::IsSameAs(const CioModuleSelector* other) const {
    if (other == nullptr || other->modules.size() != modules.size())
        return 0;
    std::vector<CioModul*> pool = other->modules;
    bool emptySeen = false;
    for (size_t i = 0; i < modules.size(); ++i) {
        CioModul* module = modules[i];
        if (module == nullptr)
            continue;
        const bool isEmpty = module == &EmptyModule();
        if (emptySeen && isEmpty)
            return 1;
        if (isEmpty)
            emptySeen = true;
        const auto found = std::find(pool.begin(), pool.end(), module);
        if (found != pool.end()) {
            pool.erase(found);
            if (pool.empty() && i + 1 == modules.size())
                return 1;
        }
    }
    return 0;
}

void CioModuleSelector::CountModules(OrderedMap<CioModul*, uint16_t>& counts) const {
    for (CioModul* module : modules)
        if (module != nullptr && module != &EmptyModule())
            ++counts[module];
}

void CioModuleSelector::Describe(std::string& text, const std::string& prefix) const {
    for (size_t i = 0; i < modules.size() && i < positionMaps.size(); ++i) {
        const CioModul* module = modules[i];
        const KindCountMap* assigned = positionMaps[i].get();
        if (module == nullptr || module == &EmptyModule() || assigned == nullptr)
            continue;
        if (!module->marking.empty()) {
            text += prefix + FormatText(TextId::ReportModuleLine, {module->marking});
        }
        for (const auto& [kind, count] : *assigned)
            text += prefix + "\t" + std::to_string(count) + " x " + kind->name + "\r\n";
    }
}

int CioModuleSelector::IsSameAsAny(
    const std::vector<std::unique_ptr<CioModuleSelector>>& list) const {
    for (const auto& other : list)
        if (IsSameAs(other.get()))
            return 1;
    return 0;
}

} // namespace pinsum
