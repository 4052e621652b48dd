#include "model/catalogue_json_common.h"

#include <optional>

#include "model/catalogue_json.h"
#include "model/cio_db.h"
#include "model/cio_modul.h"
#include "model/object_stream.h"

namespace pinsum::catalogue_json {
namespace {

// "#N" is an index only when the '#' is followed by digits alone; other texts are names.
std::optional<size_t> IndexOfRef(const std::string& ref) {
    if (ref.size() < 2 || ref[0] != '#')
        return std::nullopt;
    size_t value = 0;
    for (size_t i = 1; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9')
            return std::nullopt;
        if (value > SIZE_MAX / 10 - 10)
            return SIZE_MAX;
        value = value * 10 + static_cast<size_t>(ref[i] - '0');
    }
    return value;
}

std::string IndexRef(size_t index) {
    return std::string("#").append(std::to_string(index));
}

} // namespace

std::string ItemPath(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string FieldPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

void Fail(const std::string& path, const std::string& message) {
    throw JsonError(path.empty() ? message : path + ": " + message);
}

NameIndex::NameIndex(const CioArray& list) {
    for (size_t i = 0; i < list.Count(); ++i) {
        CioType* object = list.At(i);
        m_objects.push_back(object);
        if (object == nullptr)
            continue;
        m_byName[object->name].push_back(i);
        m_byObject.emplace(object, i);
    }
}

Lookup NameIndex::Find(const std::string& ref) const {
    if (const auto index = IndexOfRef(ref)) {
        if (*index < m_objects.size() && m_objects[*index] != nullptr)
            return {Match::Found, m_objects[*index], {}};
        return {};
    }
    const auto it = m_byName.find(ref);
    if (it == m_byName.end())
        return {};
    const std::vector<size_t>& indexes = it->second;
    if (indexes.size() == 1)
        return {Match::Found, m_objects[indexes[0]], {}};
    Lookup ambiguous{Match::Ambiguous, nullptr, {}};
    for (size_t index : indexes)
        ambiguous.choices.push_back(IndexRef(index));
    return ambiguous;
}

long NameIndex::IndexOf(const CioType* object) const {
    const auto it = m_byObject.find(object);
    return it == m_byObject.end() ? -1 : static_cast<long>(it->second);
}

References::References(const CioDb& db)
    : m_kinds(db.ioKinds), m_modules(db.modules), m_series(db.seriesList) {
    auto addOwner = [this](const CioModul* module) {
        for (size_t i = 0; i < module->Count(); ++i)
            m_variantOwners.emplace(module->At(i), std::make_pair(module, i));
    };
    addOwner(&EmptyModule());
    for (size_t i = 0; i < db.modules.Count(); ++i)
        if (const auto* module = dynamic_cast<const CioModul*>(db.modules.At(i)))
            addOwner(module);
}

Lookup References::FindModule(const std::string& ref) const {
    if (ref == kEmptyModuleRef)
        return {Match::Found, &EmptyModule(), {}};
    return m_modules.Find(ref);
}

Lookup References::FindVariant(const std::string& ref) const {
    Lookup result;
    for (size_t slash = ref.find('/'); slash != std::string::npos;
         slash = ref.find('/', slash + 1)) {
        const Lookup module = FindModule(ref.substr(0, slash));
        const auto* owner = dynamic_cast<const CioArray*>(module.object);
        if (module.match != Match::Found || owner == nullptr)
            continue;
        Lookup variant = NameIndex(*owner).Find(ref.substr(slash + 1));
        for (std::string& choice : variant.choices)
            choice = ref.substr(0, slash + 1) + choice;
        if (variant.match == Match::Ambiguous && result.match == Match::Unknown)
            result = variant;
        if (variant.match != Match::Found)
            continue;
        if (result.match == Match::Found && result.object != variant.object)
            return {Match::Ambiguous, nullptr, {}};
        result = variant;
    }
    return result;
}

std::string References::KindRef(const CioType* kind) const {
    const long index = m_kinds.IndexOf(kind);
    if (index < 0)
        return {};
    const Lookup byName = FindKind(kind->name);
    return byName.object == kind ? kind->name : IndexRef(static_cast<size_t>(index));
}

std::string References::SeriesRef(const CioType* series) const {
    const long index = m_series.IndexOf(series);
    if (index < 0)
        return {};
    const Lookup byName = FindSeries(series->name);
    return byName.object == series ? series->name : IndexRef(static_cast<size_t>(index));
}

std::string References::ModuleRef(const CioType* module) const {
    if (module == &EmptyModule())
        return kEmptyModuleRef;
    const long index = m_modules.IndexOf(module);
    if (index < 0)
        return {};
    const Lookup byName = FindModule(module->name);
    return byName.object == module ? module->name : IndexRef(static_cast<size_t>(index));
}

std::string References::VariantRef(const CioType* variant) const {
    const auto it = m_variantOwners.find(variant);
    if (it == m_variantOwners.end())
        return {};
    const auto& [module, index] = it->second;
    const std::string moduleRef = ModuleRef(module);
    const std::string moduleIndexRef =
        module == &EmptyModule() ? moduleRef
                                 : IndexRef(static_cast<size_t>(m_modules.IndexOf(module)));
    for (const std::string& m : {moduleRef, moduleIndexRef})
        for (const std::string& v : {variant->name, IndexRef(index)}) {
            const std::string ref = m + "/" + v;
            if (FindVariant(ref).object == variant)
                return ref;
        }
    return moduleIndexRef + "/" + IndexRef(index);
}

} // namespace pinsum::catalogue_json
