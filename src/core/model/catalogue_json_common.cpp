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

// Whether the object's name finds it; an empty name is referred to by index, since an empty
// reference means that the object is in no list.
bool NameFinds(const CioType* object, const Lookup& byName) {
    return byName.object == object && !object->name.empty();
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
    : m_db(db), m_kinds(db.ioKinds), m_modules(db.modules), m_series(db.seriesList),
      m_devices(db.devices) {
    auto addOwner = [](Owners& owners, const CioType* owner) {
        if (const auto* parts = dynamic_cast<const CioArray*>(owner))
            for (size_t i = 0; i < parts->Count(); ++i)
                owners.emplace(parts->At(i), std::make_pair(owner, i));
    };
    addOwner(m_variantOwners, &EmptyModule());
    for (size_t i = 0; i < db.modules.Count(); ++i)
        addOwner(m_variantOwners, db.modules.At(i));
    for (size_t i = 0; i < db.devices.Count(); ++i)
        addOwner(m_positionOwners, db.devices.At(i));
}

Lookup References::FindModule(const std::string& ref) const {
    if (ref == kEmptyModuleRef)
        return {Match::Found, &EmptyModule(), {}};
    return m_modules.Find(ref);
}

Lookup References::FindVariant(const std::string& ref) const {
    return FindPart(ref, &References::FindModule);
}

Lookup References::FindPosition(const std::string& ref) const {
    return FindPart(ref, &References::FindDevice);
}

Lookup References::FindLine(const std::string& ref) const {
    if (ref == kVornetRef)
        return {Match::Found, &Vornet(), {}};
    if (ref == kKalbusRef)
        return {Match::Found, &Kalbus(), {}};
    return {};
}

References::Finder References::FinderOf(const std::string& list) {
    static const std::pair<const char*, Finder> kFinders[] = {
        {kIoKinds, &References::FindKind},     {kModules, &References::FindModule},
        {kVariants, &References::FindVariant}, {kSeries, &References::FindSeries},
        {kDevices, &References::FindDevice},   {kPositions, &References::FindPosition},
        {kLines, &References::FindLine},
    };
    for (const auto& [name, finder] : kFinders)
        if (list == name)
            return finder;
    return nullptr;
}

Lookup References::FindPart(const std::string& ref, Finder findOwner) const {
    Lookup result;
    for (size_t slash = ref.find('/'); slash != std::string::npos;
         slash = ref.find('/', slash + 1)) {
        const Lookup owner = (this->*findOwner)(ref.substr(0, slash));
        const auto* parts = dynamic_cast<const CioArray*>(owner.object);
        if (owner.match != Match::Found || parts == nullptr)
            continue;
        Lookup part = NameIndex(*parts).Find(ref.substr(slash + 1));
        for (std::string& choice : part.choices)
            choice = ref.substr(0, slash + 1) + choice;
        if (part.match == Match::Ambiguous && result.match == Match::Unknown)
            result = part;
        if (part.match != Match::Found)
            continue;
        if (result.match == Match::Found && result.object != part.object)
            return {Match::Ambiguous, nullptr, {}};
        result = part;
    }
    return result;
}

std::string References::KindRef(const CioType* kind) const {
    const long index = m_kinds.IndexOf(kind);
    if (index < 0)
        return {};
    return NameFinds(kind, FindKind(kind->name)) ? kind->name
                                                 : IndexRef(static_cast<size_t>(index));
}

std::string References::SeriesRef(const CioType* series) const {
    const long index = m_series.IndexOf(series);
    if (index < 0)
        return {};
    return NameFinds(series, FindSeries(series->name)) ? series->name
                                                       : IndexRef(static_cast<size_t>(index));
}

std::string References::ModuleRef(const CioType* module) const {
    if (module == &EmptyModule())
        return kEmptyModuleRef;
    const long index = m_modules.IndexOf(module);
    if (index < 0)
        return {};
    return NameFinds(module, FindModule(module->name)) ? module->name
                                                       : IndexRef(static_cast<size_t>(index));
}

std::string References::DeviceRef(const CioType* device) const {
    const long index = m_devices.IndexOf(device);
    if (index < 0)
        return {};
    return NameFinds(device, FindDevice(device->name)) ? device->name
                                                       : IndexRef(static_cast<size_t>(index));
}

std::string References::VariantRef(const CioType* variant) const {
    return PartRef(variant, m_variantOwners, m_modules, &References::ModuleRef,
                   &References::FindVariant);
}

std::string References::PositionRef(const CioType* position) const {
    return PartRef(position, m_positionOwners, m_devices, &References::DeviceRef,
                   &References::FindPosition);
}

std::string References::PartRef(const CioType* part, const Owners& owners,
                                const NameIndex& ownerList, OwnerRef ownerRef, Finder find) const {
    const auto it = owners.find(part);
    if (it == owners.end())
        return {};
    const auto& [owner, index] = it->second;
    const std::string byOwnerRef = (this->*ownerRef)(owner);
    // The empty module is in no list; its own reference is the only one.
    const long ownerIndex = ownerList.IndexOf(owner);
    const std::string byOwnerIndex =
        ownerIndex < 0 ? byOwnerRef : IndexRef(static_cast<size_t>(ownerIndex));
    for (const std::string& o : {byOwnerRef, byOwnerIndex})
        for (const std::string& p : {part->name, IndexRef(index)}) {
            const std::string ref = o + "/" + p;
            if ((this->*find)(ref).object == part)
                return ref;
        }
    return byOwnerIndex + "/" + IndexRef(index);
}

ListRef References::AnyRef(const CioType* object) const {
    if (object == &m_db)
        return {kDatabase, {}};
    if (object == &Vornet() || object == &Kalbus())
        return {kLines, object->name};
    const std::pair<const char*, OwnerRef> kLists[] = {
        {kIoKinds, &References::KindRef},     {kModules, &References::ModuleRef},
        {kVariants, &References::VariantRef}, {kSeries, &References::SeriesRef},
        {kDevices, &References::DeviceRef},   {kPositions, &References::PositionRef},
    };
    for (const auto& [list, refOf] : kLists)
        if (std::string ref = (this->*refOf)(object); !ref.empty())
            return {list, std::move(ref)};
    return {};
}

} // namespace pinsum::catalogue_json
