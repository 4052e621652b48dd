#include "solver/cio_module_selector.h"

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

KindCountMap RelinkMap(const StoredMap& stored) {
    KindCountMap map;
    for (const auto& [id, count] : stored)
        if (CioType* kind = ResolveRef(id))
            map[kind] = count;
    return map;
}

// A position holds a variant, or the empty module as the idle marker.
CioType* ResolveVariant(uint32_t id) {
    CioType* object = ResolveRef(id);
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

void CioModuleSelector::Relink() {
    if (m_stored == nullptr)
        return;
    remaining = RelinkMap(m_stored->remaining);
    variants.clear();
    for (const uint32_t id : m_stored->variants)
        variants.push_back(ResolveVariant(id));
    modules.clear();
    for (const uint32_t id : m_stored->modules)
        modules.push_back(dynamic_cast<CioModul*>(ResolveRef(id)));
    CioType* resolvedDevice = ResolveRef(m_stored->device);
    device = resolvedDevice != nullptr && resolvedDevice->kind == C_PLC_IO
                 ? dynamic_cast<CioPlc*>(resolvedDevice)
                 : nullptr;
    positionMaps.clear();
    for (const auto& map : m_stored->positionMaps)
        positionMaps.push_back(std::make_unique<KindCountMap>(RelinkMap(map)));
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

namespace {

// Odometer digits are 16-bit; longer lists are walked only up to what a digit can index.
constexpr size_t kMaxDigit = 0xFFFF;

CioModul* AsModule(CioType* entry) {
    return dynamic_cast<CioModul*>(entry);
}

// The most kinds any variant allowed in the position provides, so that matching never grows the
// position's map.
size_t MostKinds(const CioVariant& position) {
    size_t most = 0;
    for (CioType* entry : position.entries)
        if (const CioModul* module = AsModule(entry))
            for (size_t v = 0; v < module->Count(); ++v)
                if (const CioVariant* variant = module->Variant(v))
                    most = std::max(most, variant->kindCounts.Size());
    return most;
}

} // namespace

const std::vector<CioType*>* CioModuleSelector::Allowed(int p) const {
    const CioVariant* position =
        device != nullptr ? device->Position(static_cast<size_t>(p)) : nullptr;
    return position != nullptr ? &position->entries : nullptr;
}

const CioVariant* CioModuleSelector::VariantAt(size_t p) const {
    const CioType* v = p < variants.size() ? variants[p] : nullptr;
    // Entries are only ever variants or the idle marker, checked where they are set.
    return v == nullptr || v == &EmptyModule() ? nullptr : static_cast<const CioVariant*>(v);
}

int CioModuleSelector::Attach(CioPlc* target) {
    positionMaps.clear();
    variants.clear();
    modules.clear();
    moduleIndexes.clear();
    variantIndexes.clear();
    startPosition = 0;
    validStructure = 0;
    device = target;
    if (device == nullptr)
        return 0;
    bool digitsFit = true;
    for (size_t p = 0; p < device->Count(); ++p) {
        const CioVariant* position = device->Position(p);
        if (position == nullptr || position->entries.empty())
            continue;
        digitsFit = digitsFit && position->entries.size() <= kMaxDigit;
        variants.push_back(nullptr);
        variantIndexes.push_back(0);
        modules.push_back(AsModule(position->entries.front()));
        moduleIndexes.push_back(0);
        positionMaps.push_back(std::make_unique<KindCountMap>());
        positionMaps.back()->Reserve(MostKinds(*position));
    }
    const size_t n = variants.size();
    validStructure = digitsFit && moduleIndexes.size() == n && modules.size() == n &&
                             variantIndexes.size() == n && n == device->Count() &&
                             positionMaps.size() == n
                         ? 1
                         : 0;
    return device->Count() == 0 ? 0 : 1;
}

bool CioModuleSelector::ChooseFirst(int p) {
    while (!NextVariant(p))
        if (!NextModule(p))
            return false;
    return true;
}

int CioModuleSelector::First(int start) {
    startPosition = start;
    if (!validStructure)
        return 0;
    for (size_t p = 0; p < variants.size(); ++p) {
        variants[p] = nullptr;
        moduleIndexes[p] = 0;
        variantIndexes[p] = 0;
        const auto* allowed = Allowed(static_cast<int>(p));
        if (allowed != nullptr && !allowed->empty())
            modules[p] = AsModule(allowed->front());
    }
    if (!ChooseFirst(start))
        return 0;
    for (int p = start - 1; p >= 0; --p)
        if (!ChooseFirst(p))
            return 0;
    for (int p = start + 1; p < static_cast<int>(variants.size()); ++p)
        if (!ChooseFirst(p))
            return 0;
    return 1;
}

int CioModuleSelector::NextVariant(int p) {
    if (p < 0 || static_cast<size_t>(p) >= moduleIndexes.size() || !validStructure ||
        modules[p] == nullptr)
        return 0;
    const CioModul& module = *modules[p];
    const size_t count = std::min(module.Count(), kMaxDigit);
    while (variantIndexes[p] < count) {
        CioVariant* variant = module.Variant(variantIndexes[p]);
        ++variantIndexes[p];
        if (variant != nullptr) {
            variants[p] = variant;
            return 1;
        }
    }
    variantIndexes[p] = 0;
    ++moduleIndexes[p];
    return 0;
}

int CioModuleSelector::NextModule(int p) {
    if (p < 0 || static_cast<size_t>(p) >= moduleIndexes.size() || !validStructure)
        return 0;
    const auto* allowed = Allowed(p);
    const size_t count = allowed != nullptr ? std::min(allowed->size(), kMaxDigit) : 0;
    while (moduleIndexes[p] < count) {
        CioModul* module = AsModule((*allowed)[moduleIndexes[p]]);
        if (module != nullptr && (p >= startPosition || module != &EmptyModule())) {
            modules[p] = module;
            variantIndexes[p] = 0;
            return 1;
        }
        ++moduleIndexes[p];
    }
    moduleIndexes[p] = 0;
    return 0;
}

int CioModuleSelector::Next(int p) {
    const int n = static_cast<int>(variants.size());
    if (device == nullptr || !validStructure || p < 0 || p >= n ||
        startPosition >= static_cast<int>(device->Count()))
        return 0;
    for (;;) {
        if (NextVariant(p))
            return 1;
        if (!NextModule(p))
            break;
    }
    int carry = 0;
    if (startPosition < p || p <= 0) {
        if (p == 0 && startPosition < n - 1)
            carry = Next(startPosition + 1);
        else if (startPosition < p && p < n - 1)
            carry = Next(p + 1);
    } else {
        carry = Next(p - 1);
    }
    // The digit restarts the way First chooses, so a module without variants does not end the
    // enumeration.
    return carry && NextModule(p) && ChooseFirst(p) ? 1 : 0;
}

int CioModuleSelector::IsValid() const {
    const size_t n = variants.size();
    if (startPosition < 0 || static_cast<size_t>(startPosition) >= n)
        return 0;
    const CioType* empty = &EmptyVariant();
    for (size_t i = 0; i < n; ++i) {
        if (variants[i] == empty) {
            for (size_t j = i + 1; j < n; ++j)
                if (variants[j] != empty)
                    return 0;
            return 1;
        }
        const CioVariant* v = VariantAt(i);
        if (v == nullptr || v->ruleCounts.Empty())
            continue;
        for (size_t j = i + 1; j < n; ++j)
            if (variants[j] != nullptr && v->ruleCounts.Contains(variants[j]))
                return 0;
    }
    return 1;
}

int CioModuleSelector::Match(const KindCountMap& request) {
    remaining = request;
    coveredTotal = 0;
    usedPositions = 0;
    price = Currency{};
    for (size_t i = 0; i < variants.size(); ++i) {
        if (i < modules.size() && modules[i] != nullptr)
            price.scaled += modules[i]->listPrice.scaled;
        KindCountMap* assigned = i < positionMaps.size() ? positionMaps[i].get() : nullptr;
        if (assigned != nullptr)
            assigned->Clear();
        const CioVariant* v = VariantAt(i);
        if (v == nullptr || assigned == nullptr)
            continue;
        if (!v->kindCounts.Empty())
            ++usedPositions;
        for (const auto& [kind, offered] : v->kindCounts) {
            if (kind->flags & FLAG_REQUIRED) {
                const uint16_t* wanted = request.Find(kind);
                if (wanted == nullptr || *wanted == 0)
                    return -1;
            }
            uint16_t* left = remaining.Find(kind);
            if (left == nullptr || *left == 0)
                continue;
            const uint16_t take = std::min(offered, *left);
            (*assigned)[kind] = take;
            *left = static_cast<uint16_t>(*left - take);
            coveredTotal += take;
        }
    }
    return coveredTotal;
}

int CioModuleSelector::CoversAll() const {
    for (const auto& [kind, left] : remaining)
        if (left != 0)
            return 0;
    return 1;
}

void CioModuleSelector::AddCapacity(PointMap& map, bool free) const {
    for (size_t i = 0; i < modules.size() && i < positionMaps.size(); ++i) {
        const KindCountMap* assigned = positionMaps[i].get();
        if (modules[i] == nullptr || modules[i] == &EmptyModule() || assigned == nullptr)
            continue;
        if (!free) {
            for (const auto& [kind, count] : *assigned)
                map[kind] += count;
            continue;
        }
        const CioVariant* v = VariantAt(i);
        if (v == nullptr)
            continue;
        for (const auto& [kind, offered] : v->kindCounts) {
            const uint16_t* used = assigned->Find(kind);
            map[kind] += std::max(static_cast<int32_t>(offered) - (used ? *used : 0), 0);
        }
    }
}

void CioModuleSelector::Absorb(PointMap& map) {
    const size_t n = std::min({modules.size(), positionMaps.size(), variants.size()});
    for (size_t i = 0; i < n; ++i) {
        KindCountMap* assigned = positionMaps[i].get();
        const CioVariant* v = VariantAt(i);
        if (modules[i] == nullptr || modules[i] == &EmptyModule() || assigned == nullptr ||
            v == nullptr)
            continue;
        for (const auto& [kind, offered] : v->kindCounts) {
            const uint16_t* usedNow = assigned->Find(kind);
            const int32_t used = usedNow != nullptr ? *usedNow : 0;
            int32_t* need = map.Find(kind);
            if (need == nullptr || used >= offered || *need == 0)
                continue;
            const int32_t take = std::min(*need, offered - used);
            (*assigned)[kind] = static_cast<uint16_t>(used + take);
            coveredTotal += take;
            *need -= take;
            if (*need == 0)
                map.Erase(kind);
        }
    }
}

int CioModuleSelector::MarkIdlePositions(double& out) {
    const size_t n = std::min({modules.size(), positionMaps.size(), variants.size()});
    for (size_t p = n; p-- > 0;) {
        if (device == nullptr || p >= device->Count() || p >= positionMaps.size())
            return 0;
        const KindCountMap* assigned = positionMaps[p].get();
        if (assigned == nullptr || !assigned->Empty() || variants[p] == nullptr ||
            variants[p] == &EmptyModule())
            continue;
        const auto* allowed = Allowed(static_cast<int>(p));
        if (allowed == nullptr ||
            std::find(allowed->begin(), allowed->end(), &EmptyModule()) == allowed->end())
            return 0;
        variants[p] = &EmptyModule();
    }
    // An idle position keeps its module, and so its price.
    out = 0.0;
    for (size_t p = 0; p < variants.size() && p < modules.size(); ++p)
        if (variants[p] != nullptr && modules[p] != nullptr)
            out += modules[p]->listPrice.Numeric();
    return 1;
}

void CioModuleSelector::CountModules(OrderedMap<CioModul*, uint16_t>& counts) const {
    for (CioModul* module : modules)
        if (module != nullptr && module != &EmptyModule())
            ++counts[module];
}

void CioModuleSelector::Describe(std::string& text, const std::string& prefix) const {
    const std::string& moduleLine = ProgramText(52116);
    for (size_t i = 0; i < modules.size() && i < positionMaps.size(); ++i) {
        const CioModul* module = modules[i];
        const KindCountMap* assigned = positionMaps[i].get();
        if (module == nullptr || module == &EmptyModule() || assigned == nullptr)
            continue;
        if (!module->marking.empty()) {
            std::string line = moduleLine;
            line.replace(line.find("%s"), 2, module->marking);
            text += prefix + line;
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
