#include "model/object_stream.h"

#include <typeinfo>
#include <unordered_map>

#include "host/input_quote.h"
#include "host/messenger.h"
#include "host/notification.h"
#include "host/program_texts.h"
#include "model/archive.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_module_node.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"

namespace pinsum {
namespace {

struct KindEntry {
    int32_t code;
    const char* tag;
};

// In the order the tag tables are built.
constexpr KindEntry kKinds[] = {
    {C_IO, "C_IO"},
    {C_ARRAY_IO, "C_ARRAY_IO"},
    {C_MAPARRAY_IO, "C_MAPARRAY_IO"},
    {C_VARIANT_IO, "C_VARIANT_IO"},
    {C_MODUL_IO, "C_MODUL_IO"},
    {C_PLC_IO, "C_PLC_IO"},
    {C_DB_IO, "C_DB_IO"},
    {C_LINE_TYPE_IO, "C_LINE_TYPE_IO"},
    {C_IO_PROJECT, "C_IO_PROJECT"},
    {C_IO_GROUP, "C_IO_GROUP"},
    {C_IO_EQUIP, "C_IO_EQUIP"},
    {C_IO_NODE, "C_IO_NODE"},
    {C_IO_MODULE_NODE, "C_IO_MODULE_NODE"},
    {C_IO_SOLUTION_NODE, "C_IO_SOLUTION_NODE"},
    {C_NULL, "NULL"},
};

// Load progress is sent before each object once the position moved by a hundredth of the file,
// and after it while loading is in its last tenth.
void ReportProgressBefore(ArchiveReader& ar) {
    const uint64_t size = ar.Size();
    if (ar.progress == nullptr || size == 0 || size >= 0xFFFFFFFFu)
        return;
    const auto pos = static_cast<uint32_t>(ar.Position());
    const bool never = ar.lastReported == 0xFFFFFFFFu;
    if (!never && pos - ar.lastReported < size / 100)
        return;
    ar.lastReported = pos;
    ar.progress->Send(UPDBAR, static_cast<uint32_t>(uint64_t{pos} * 100 / size), 0);
}

void ReportProgressAfter(ArchiveReader& ar) {
    const uint64_t size = ar.Size();
    if (ar.progress == nullptr || size == 0 || size >= 0xFFFFFFFFu)
        return;
    if (ar.Remaining() < size / 10)
        ar.progress->Send(UPDBAR, 0xFFFFFFFFu, 0);
}

void Register(ArchiveReader& ar, CioType& object) {
    IdentityTable& identities = ar.identities;
    if (identities.Contains(object.id) && ar.messenger != nullptr) {
        const std::string question =
            FormatText(TextId::DuplicateIdentity, {ShortenInput(object.name)});
        if (!ar.messenger->ContinueAfterDuplicateIdentity(object.id, question))
            ar.Fail(ArchiveCause::BadIndex, "zdvojený id kód " + std::to_string(object.id));
    }
    identities.Register(object.id, &object);
}

struct DepthGuard {
    explicit DepthGuard(ArchiveReader& ar) : m_ar(ar) {
        if (++m_ar.depth > kMaxObjectDepth)
            m_ar.Fail(ArchiveCause::BadIndex, "příliš hluboké vnoření objektů");
    }
    ~DepthGuard() { --m_ar.depth; }
    ArchiveReader& m_ar;
};

} // namespace

const char* KindTag(int32_t kind) {
    for (const auto& entry : kKinds)
        if (entry.code == kind && entry.code != C_NULL)
            return entry.tag;
    return nullptr;
}

int32_t KindOfTag(const std::string& tag) {
    static const auto table = [] {
        std::unordered_map<std::string, int32_t> map(10);
        for (const auto& entry : kKinds)
            map.emplace(entry.tag, entry.code);
        return map;
    }();
    const auto it = table.find(tag);
    return it == table.end() ? -1 : it->second;
}

std::unique_ptr<CioType> CreateObject(int32_t kind) {
    switch (kind) {
    case C_IO:
        return std::make_unique<CioType>();
    case C_ARRAY_IO:
        return std::make_unique<CioArray>();
    case C_MAPARRAY_IO:
        return std::make_unique<CioMapArray>();
    case C_VARIANT_IO:
        return std::make_unique<CioVariant>();
    case C_MODUL_IO:
        return std::make_unique<CioModul>();
    case C_PLC_IO:
        return std::make_unique<CioPlc>();
    case C_DB_IO:
        return std::make_unique<CioDb>();
    case C_LINE_TYPE_IO:
        return std::make_unique<CioLine>();
    case C_IO_NODE:
        return std::make_unique<CioNode>();
    case C_IO_EQUIP:
        return std::make_unique<CioEquip>();
    case C_IO_PROJECT:
        return std::make_unique<CioProject>();
    case C_IO_MODULE_NODE:
        return std::make_unique<CioModuleNode>();
    case C_IO_SOLUTION_NODE:
        return std::make_unique<CioSolution>();
    default:
        return nullptr;
    }
}

int32_t ClassKind(const CioType& object) {
    const std::type_info& type = typeid(object);
    if (type == typeid(CioArray))
        return C_ARRAY_IO;
    if (type == typeid(CioMapArray))
        return C_MAPARRAY_IO;
    if (type == typeid(CioVariant))
        return C_VARIANT_IO;
    if (type == typeid(CioModul))
        return C_MODUL_IO;
    if (type == typeid(CioPlc))
        return C_PLC_IO;
    if (type == typeid(CioDb))
        return C_DB_IO;
    if (type == typeid(CioLine))
        return C_LINE_TYPE_IO;
    if (type == typeid(CioNode))
        return C_IO_NODE;
    if (type == typeid(CioEquip))
        return C_IO_EQUIP;
    if (type == typeid(CioProject))
        return C_IO_PROJECT;
    if (type == typeid(CioModuleNode))
        return C_IO_MODULE_NODE;
    if (type == typeid(CioSolution))
        return C_IO_SOLUTION_NODE;
    return C_IO;
}

void WriteObject(ArchiveWriter& ar, const CioType* object) {
    // The tag names the object's class, which its kind field matches in every file the program
    // writes; a damaged file's kind field would otherwise make a resaved file unreadable.
    const char* tag = object != nullptr ? KindTag(ClassKind(*object)) : nullptr;
    if (tag == nullptr) {
        ar.WriteText("NULL");
        return;
    }
    ar.WriteText(tag);
    object->Store(ar);
}

std::unique_ptr<CioType> ReadObject(ArchiveReader& ar) {
    DepthGuard depth(ar);
    ReportProgressBefore(ar);
    const std::string tag = ar.ReadText();
    const int32_t code = KindOfTag(tag);
    auto object = code >= 0 ? CreateObject(code) : nullptr;
    if (object == nullptr)
        ar.Fail(ArchiveCause::BadIndex, "neznámý typ objektu " + QuoteCp1250Input(tag));
    object->Load(ar);
    Register(ar, *object);
    ReportProgressAfter(ar);
    return object;
}

void WriteRef(ArchiveWriter& ar, const CioType* object) {
    ar.WriteUInt32(object != nullptr ? object->id : 0);
}

uint32_t ReadRef(ArchiveReader& ar) {
    return ar.ReadUInt32();
}

template <class T> void ObjectRef<T>::Store(ArchiveWriter& ar) const {
    if (object != nullptr)
        WriteRef(ar, object);
    else
        ar.WriteUInt32(storedId);
}

template <class T> void ObjectRef<T>::Forget(const CioType* o) {
    if (object != nullptr && static_cast<const CioType*>(object) == o)
        object = nullptr;
}

template struct ObjectRef<CioType>;
template struct ObjectRef<CioPlc>;
template struct ObjectRef<CioLine>;

IdentityTable::IdentityTable() {
    m_objects[kEmptyModuleId] = &EmptyModule();
    m_objects[kEmptyVariantId] = EmptyModule().At(0);
    m_objects[kVornetId] = &Vornet();
    m_objects[kKalbusId] = &Kalbus();
}

CioType* IdentityTable::Find(uint32_t identity) const {
    if (identity == 0)
        return nullptr;
    const auto it = m_objects.find(identity);
    return it == m_objects.end() ? nullptr : it->second;
}

CioModul& EmptyModule() {
    static CioModul module(kEmptyModuleId, "--", "");
    return module;
}

CioVariant& EmptyVariant() {
    return *static_cast<CioVariant*>(EmptyModule().At(0));
}

CioType& Vornet() {
    static CioType line(kVornetId, "VORNET");
    return line;
}

CioType& Kalbus() {
    static CioType line(kKalbusId, "KALBUS");
    return line;
}

bool IsBuiltIn(const CioType* object) {
    return object == &EmptyModule() || object == &EmptyVariant() || object == &Vornet() ||
           object == &Kalbus();
}

} // namespace pinsum
