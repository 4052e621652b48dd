#include "model/catalogue_json.h"

#include <algorithm>
#include <typeinfo>

#include "host/message_language.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/catalogue_json_common.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/json_text.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

using namespace catalogue_json;

std::string Utf8(const std::string& cp1250) {
    return Cp1250ToUtf8(cp1250);
}

// The object at path as exactly class T: the class chooses the tag a file stores, so an object
// of another class has no place in the JSON form.
template <class T> const T& Expect(const CioType* object, const std::string& path) {
    if (object == nullptr)
        Fail(path, Translate("missing object"));
    if (typeid(*object) != typeid(T)) {
        const char* tag = KindTag(object->kind);
        Fail(path,
             FormatText(Translate("unexpected object of kind %s"), {tag != nullptr ? tag : "?"}));
    }
    return static_cast<const T&>(*object);
}

Json EnumJson(int32_t value, const EnumNames& names) {
    if (value == 0 || value == 1)
        return names[static_cast<size_t>(value)];
    return value;
}

// help and the flag bits that no named field carries.
void PutExtras(Json& out, const CioType& object, uint32_t namedBits = 0) {
    if (!object.help.empty())
        out["help"] = Utf8(object.help);
    if (const uint32_t rest = object.flags & ~namedBits)
        out["flags"] = rest;
}

// The kind field is stored apart from the tag, which follows the class, so a damaged file may
// hold another one; the solver reads it, so it is kept where it differs from a new object's.
void PutKind(Json& out, const CioType& object, int32_t freshKind) {
    if (object.kind != freshKind)
        out["kind"] = object.kind;
}

void PutKind(Json& out, const CioType& list, const CioType& fresh) {
    PutKind(out, list, fresh.kind);
}

void PutContentKind(Json& out, const CioArray& list, const CioArray& fresh) {
    if (list.contentKind != fresh.contentKind)
        out["content_kind"] = list.contentKind;
}

Json ListHeader(const CioArray& list, const CioArray& fresh) {
    Json out;
    out["name"] = Utf8(list.name);
    PutExtras(out, list);
    PutKind(out, list, fresh);
    PutContentKind(out, list, fresh);
    return out;
}

// The header of an embedded reference list is written only where it differs from a new one.
void PutRefListHeader(Json& out, const char* key, const CioMapArray& list,
                      const CioMapArray& fresh) {
    Json header = Json::object();
    if (list.name != fresh.name)
        header["name"] = Utf8(list.name);
    PutExtras(header, list);
    PutKind(header, list, fresh);
    if (!header.empty())
        out[key] = std::move(header);
}

void PutModulePart(Json& out, const CioModul& module) {
    out["marking"] = Utf8(module.marking);
    out["price"] = FormatPrice(module.listPrice);
    if (module.listPrice.status != 0)
        out["price_status"] = module.listPrice.status;
}

class Exporter {
public:
    explicit Exporter(const CioDb& db) : m_db(db), m_refs(db) {}

    Json Run() const;

private:
    using Writer = Json (Exporter::*)(const CioType*, const std::string&) const;

    Json Lists() const;
    Json Entries(const CioArray& list, const std::string& path, Writer write) const;
    Json Kind(const CioType* object, const std::string& path) const;
    Json Module(const CioType* object, const std::string& path) const;
    Json Variant(const CioType* object, const std::string& path) const;
    Json Series(const CioType* object, const std::string& path) const;
    Json Device(const CioType* object, const std::string& path) const;
    Json Position(const CioType* object, const std::string& path) const;
    Json Points(const CioVariant& variant, const std::string& path) const;
    Json Lines(const CioMapArray& lines, const std::string& path) const;
    void PutRules(Json& out, const CioVariant& variant, const std::string& path) const;
    Json Ref(const std::string& ref, const CioType* object, const std::string& path,
             const char* what) const;

    const CioDb& m_db;
    const References m_refs;
    // New objects give the defaults that fields are compared with.
    const CioDb m_freshDb;
    const CioModul m_freshModule;
    const CioVariant m_freshVariant;
    const CioPlc m_freshDevice;
};

Json Exporter::Run() const {
    Json out;
    out["format"] = kFormat;
    out["version"] = kVersion;
    Json database;
    database["name"] = Utf8(m_db.name);
    PutExtras(database, m_db);
    PutKind(database, m_db, m_freshDb);
    out["database"] = std::move(database);
    out["lists"] = Lists();
    out["io_kinds"] = Entries(m_db.ioKinds, kIoKinds, &Exporter::Kind);
    out["modules"] = Entries(m_db.modules, kModules, &Exporter::Module);
    out["series"] = Entries(m_db.seriesList, kSeries, &Exporter::Series);
    out["devices"] = Entries(m_db.devices, kDevices, &Exporter::Device);
    return out;
}

Json Exporter::Lists() const {
    Json out;
    out[kIoKinds] = ListHeader(m_db.ioKinds, m_freshDb.ioKinds);
    out[kModules] = ListHeader(m_db.modules, m_freshDb.modules);
    out[kDevices] = ListHeader(m_db.devices, m_freshDb.devices);
    out[kSeries] = ListHeader(m_db.seriesList, m_freshDb.seriesList);
    return out;
}

Json Exporter::Entries(const CioArray& list, const std::string& path, Writer write) const {
    Json items = Json::array();
    for (size_t i = 0; i < list.Count(); ++i)
        items.push_back((this->*write)(list.At(i), ItemPath(path, i)));
    return items;
}

Json Exporter::Kind(const CioType* object, const std::string& path) const {
    const CioType& kind = Expect<CioType>(object, path);
    Json out;
    out["name"] = Utf8(kind.name);
    out["category"] = EnumJson(kind.Category(), kCategoryNames);
    out["required"] = (kind.flags & FLAG_REQUIRED) != 0;
    PutExtras(out, kind, kKindNamedBits);
    PutKind(out, kind, C_IO);
    return out;
}

Json Exporter::Module(const CioType* object, const std::string& path) const {
    const CioModul& module = Expect<CioModul>(object, path);
    Json out;
    out["name"] = Utf8(module.name);
    PutModulePart(out, module);
    PutExtras(out, module);
    PutKind(out, module, m_freshModule);
    PutContentKind(out, module, m_freshModule);
    out["variants"] = Entries(module, FieldPath(path, "variants"), &Exporter::Variant);
    return out;
}

Json Exporter::Variant(const CioType* object, const std::string& path) const {
    const CioVariant& variant = Expect<CioVariant>(object, path);
    Json out;
    out["name"] = Utf8(variant.name);
    out["points"] = Points(variant, path);
    PutRules(out, variant, path);
    PutExtras(out, variant);
    PutKind(out, variant, m_freshVariant);
    PutRefListHeader(out, "rules_list", variant.rules, m_freshVariant.rules);
    return out;
}

Json Exporter::Series(const CioType* object, const std::string& path) const {
    const CioLine& series = Expect<CioLine>(object, path);
    Json out;
    out["name"] = Utf8(series.name);
    out["default"] = (series.flags & FLAG_DEFAULT) != 0;
    out["exclusive"] = (series.flags & FLAG_EXCLUSIVE) != 0;
    PutExtras(out, series, kSeriesNamedBits);
    PutKind(out, series, C_LINE_TYPE_IO);
    return out;
}

Json Exporter::Device(const CioType* object, const std::string& path) const {
    const CioPlc& device = Expect<CioPlc>(object, path);
    Json out;
    out["name"] = Utf8(device.name);
    PutModulePart(out, device);
    if (device.series.object != nullptr)
        out["series"] =
            Ref(m_refs.SeriesRef(device.series.object), device.series.object, path, N_("series"));
    out["type"] = EnumJson(device.deviceType, kTypeNames);
    out["io_speed"] = EnumJson(device.ioSpeed, kSpeedNames);
    out["control"] = EnumJson(device.control, kControlNames);
    out["lines"] = Lines(device.lines, path);
    PutExtras(out, device);
    PutKind(out, device, m_freshDevice);
    PutContentKind(out, device, m_freshDevice);
    PutRefListHeader(out, "lines_list", device.lines, m_freshDevice.lines);
    out["positions"] = Entries(device, FieldPath(path, "positions"), &Exporter::Position);
    return out;
}

Json Exporter::Position(const CioType* object, const std::string& path) const {
    const CioVariant& position = Expect<CioVariant>(object, path);
    Json out;
    if (position.name != m_freshVariant.name)
        out["name"] = Utf8(position.name);
    Json modules = Json::array();
    for (const CioType* module : position.entries)
        if (module != nullptr)
            modules.push_back(Ref(m_refs.ModuleRef(module), module, path, N_("allowed module")));
    out["modules"] = std::move(modules);
    PutRules(out, position, path);
    PutExtras(out, position);
    PutKind(out, position, m_freshVariant);
    PutRefListHeader(out, "rules_list", position.rules, m_freshVariant.rules);
    return out;
}

// Consecutive points of one kind form a run.
Json Exporter::Points(const CioVariant& variant, const std::string& path) const {
    Json runs = Json::array();
    const CioType* last = nullptr;
    for (const CioType* kind : variant.entries) {
        if (kind == nullptr)
            continue;
        if (kind == last) {
            runs.back()["count"] = runs.back()["count"].get<size_t>() + 1;
            continue;
        }
        Json run;
        run["kind"] = Ref(m_refs.KindRef(kind), kind, path, N_("point"));
        run["count"] = 1;
        runs.push_back(std::move(run));
        last = kind;
    }
    return runs;
}

Json Exporter::Lines(const CioMapArray& lines, const std::string& path) const {
    Json out = Json::array();
    for (const CioType* line : lines.entries)
        if (line != nullptr)
            out.push_back(Ref(m_refs.FindLine(line->name).object == line ? line->name : "", line,
                              path, N_("line")));
    return out;
}

void Exporter::PutRules(Json& out, const CioVariant& variant, const std::string& path) const {
    Json rules = Json::array();
    for (const CioType* rule : variant.rules.entries)
        if (rule != nullptr)
            rules.push_back(Ref(m_refs.VariantRef(rule), rule, path, N_("rule")));
    if (!rules.empty())
        out["rules"] = std::move(rules);
}

// Only a damaged file refers to an object outside the list that the place refers to, but the
// program loads such a file, so the reference names the list the object is in.
Json Exporter::Ref(const std::string& ref, const CioType* object, const std::string& path,
                   const char* what) const {
    if (!ref.empty())
        return Utf8(ref);
    const ListRef elsewhere = m_refs.AnyRef(object);
    if (elsewhere.list == nullptr)
        Fail(path, FormatText(Translate("a %s refers to an object outside the catalogue's lists"),
                              {Translate(what)}));
    Json out;
    if (elsewhere.list == std::string_view(kDatabase))
        out[kDatabase] = true;
    else
        out[elsewhere.list] = Utf8(elsewhere.ref);
    return out;
}

} // namespace

CatalogueJson CatalogueToJson(const CioDb& db) {
    return Exporter(db).Run();
}

std::string CatalogueToJsonText(const CioDb& db) {
    return CatalogueToJson(db).dump(2) + "\n";
}

std::unique_ptr<CioDb> CatalogueFromJsonText(std::string_view text) {
    CatalogueJson json;
    std::string error;
    if (!ParseJsonText(text, json, error))
        throw JsonError(error);
    return CatalogueFromJson(json);
}

} // namespace pinsum
