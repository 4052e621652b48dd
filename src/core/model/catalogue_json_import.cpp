#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/catalogue_json.h"
#include "model/catalogue_json_common.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

using namespace catalogue_json;

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kUInt32Max = std::numeric_limits<uint32_t>::max();
// The category is one byte of the flag word.
constexpr int64_t kCategoryMax = 0xFF;
// The references an error offers for a name that is not unique.
constexpr size_t kShownChoices = 3;

const Json& EmptyObject() {
    static const Json empty = Json::object();
    return empty;
}

const Json& EmptyArray() {
    static const Json empty = Json::array();
    return empty;
}

std::string ToText(const Json& value, const std::string& path) {
    if (!value.is_string())
        Fail(path, Translate("expected a string"));
    const auto& utf8 = value.get_ref<const std::string&>();
    if (!IsCp1250Representable(utf8))
        Fail(path,
             FormatText(Translate("%s has characters outside Windows-1250"), {QuoteInput(utf8)}));
    return Utf8ToCp1250(utf8);
}

int64_t ToInteger(const Json& value, const std::string& path, int64_t min, int64_t max) {
    if (!value.is_number_integer())
        Fail(path, Translate("expected an integer"));
    const bool inRange = value.is_number_unsigned()
                             ? value.get<uint64_t>() <= static_cast<uint64_t>(max) &&
                                   static_cast<int64_t>(value.get<uint64_t>()) >= min
                             : value.get<int64_t>() >= min && value.get<int64_t>() <= max;
    if (!inRange)
        Fail(path, FormatText(Translate("expected an integer from %d to %d"), {min, max}));
    return value.get<int64_t>();
}

int32_t ToEnum(const Json& value, const std::string& path, const EnumNames& names, int64_t min,
               int64_t max) {
    if (!value.is_string())
        return static_cast<int32_t>(ToInteger(value, path, min, max));
    for (size_t i = 0; i < names.size(); ++i)
        if (value == names[i])
            return static_cast<int32_t>(i);
    Fail(path, FormatText(Translate("unknown value %s (expected '%s', '%s' or a number)"),
                          {QuoteInput(value.get_ref<const std::string&>()), names[0], names[1]}));
}

CioType* Resolve(const Lookup& lookup, const std::string& path, const std::string& what,
                 const std::string& cp1250Ref) {
    const std::string ref = QuoteCp1250Input(cp1250Ref);
    if (lookup.match == Match::Unknown)
        Fail(path, FormatText(Translate("unknown %s %s"), {what, ref}));
    if (lookup.match == Match::Ambiguous && lookup.choices.empty())
        Fail(path, FormatText(Translate("%s %s can be read in more than one way; refer to the "
                                        "module by its index ('#N/...')"),
                              {what, ref}));
    if (lookup.match == Match::Ambiguous) {
        // A name can be shared by thousands; a few choices show the way.
        std::string choices;
        const size_t shown = std::min(lookup.choices.size(), kShownChoices);
        for (size_t i = 0; i < shown; ++i)
            choices += (i == 0 ? "" : Translate(" or ")) + QuoteCp1250Input(lookup.choices[i]);
        if (shown < lookup.choices.size())
            choices +=
                FormatText(Translate(" (or one of %d more)"), {lookup.choices.size() - shown});
        Fail(path, FormatText(Translate("%s %s is not unique; use %s"), {what, ref, choices}));
    }
    return lookup.object;
}

// One JSON object being read: checks the type of every field, converts texts to Windows-1250 and
// refuses fields that nothing reads, so that a misspelt field does not pass unnoticed.
class JsonObject {
public:
    JsonObject(const Json& json, std::string path) : m_json(json), m_path(std::move(path)) {
        if (!json.is_object())
            Fail(m_path, Translate("expected an object"));
    }

    const std::string& Path() const { return m_path; }
    std::string PathOf(const char* key) const { return FieldPath(m_path, key); }

    const Json* Find(const char* key) {
        m_read.emplace_back(key);
        const auto it = m_json.find(key);
        return it == m_json.end() ? nullptr : &*it;
    }

    std::string Text(const char* key, const std::string& fallback) {
        const Json* value = Find(key);
        return value == nullptr ? fallback : ToText(*value, PathOf(key));
    }

    std::string RequiredText(const char* key) {
        const Json* value = Find(key);
        if (value == nullptr)
            Fail(m_path, FormatText(Translate("missing field '%s'"), {key}));
        return ToText(*value, PathOf(key));
    }

    bool Bool(const char* key) {
        const Json* value = Find(key);
        if (value != nullptr && !value->is_boolean())
            Fail(PathOf(key), Translate("expected true or false"));
        return value != nullptr && value->get<bool>();
    }

    int64_t Integer(const char* key, int64_t fallback, int64_t min, int64_t max) {
        const Json* value = Find(key);
        return value == nullptr ? fallback : ToInteger(*value, PathOf(key), min, max);
    }

    int32_t Enum(const char* key, const EnumNames& names, int64_t min, int64_t max) {
        const Json* value = Find(key);
        return value == nullptr ? 0 : ToEnum(*value, PathOf(key), names, min, max);
    }

    const Json& Array(const char* key) {
        const Json* value = Find(key);
        if (value != nullptr && !value->is_array())
            Fail(PathOf(key), Translate("expected an array"));
        return value == nullptr ? EmptyArray() : *value;
    }

    JsonObject Object(const char* key) {
        const Json* value = Find(key);
        return JsonObject(value == nullptr ? EmptyObject() : *value, PathOf(key));
    }

    void Finish() const {
        for (const auto& item : m_json.items())
            if (std::find(m_read.begin(), m_read.end(), item.key()) == m_read.end())
                Fail(m_path, FormatText(Translate("unknown field %s"), {QuoteInput(item.key())}));
    }

private:
    const Json& m_json;
    std::string m_path;
    std::vector<std::string> m_read;
};

class Importer {
public:
    explicit Importer(const Json& json) : m_root(json, "") {}

    std::unique_ptr<CioDb> Run();

private:
    using Reader = std::unique_ptr<CioType> (Importer::*)(JsonObject&);

    // References are resolved once every object exists, since a rule may name a later module,
    // and a reference across lists any object of the catalogue.
    using Pending = std::function<void()>;

    void ReadFormat();
    void ReadListHeaders();
    void ReadEntries(JsonObject& owner, const char* key, CioArray& list, Reader read);
    std::unique_ptr<CioType> Kind(JsonObject& in);
    std::unique_ptr<CioType> Module(JsonObject& in);
    std::unique_ptr<CioType> Variant(JsonObject& in);
    std::unique_ptr<CioType> Series(JsonObject& in);
    std::unique_ptr<CioType> Device(JsonObject& in);
    std::unique_ptr<CioType> Position(JsonObject& in);
    void ReadPoints(const Json& points, const std::string& path, CioVariant& variant) const;
    void ReadRules(const Json& rules, const std::string& path, CioVariant& variant) const;
    void ReadModules(const Json& modules, const std::string& path, CioVariant& position) const;
    void ReadSeries(const Json* series, const std::string& path, CioPlc& device) const;
    void ReadLines(const Json& lines, const std::string& path, CioPlc& device) const;
    CioType* RefTo(const Json& value, const std::string& valuePath, const std::string& path,
                   const char* what, References::Finder find) const;

    JsonObject m_root;
    std::unique_ptr<CioDb> m_db = std::make_unique<CioDb>();
    std::optional<References> m_refs;
    std::vector<Pending> m_pending;
};

// help and flags; flags may not hold bits that named fields set.
void ReadExtras(JsonObject& in, CioType& object, uint32_t namedBits = 0) {
    object.help = in.Text("help", object.help);
    const auto flags = static_cast<uint32_t>(in.Integer("flags", 0, 0, kUInt32Max));
    if ((flags & namedBits) != 0)
        Fail(in.PathOf("flags"), Translate("holds bits that the named fields set"));
    object.flags |= flags;
}

// The stored kind field, which a damaged file may hold apart from the class; the class alone
// chooses the tag a file stores.
void ReadKind(JsonObject& in, CioType& object) {
    object.kind = static_cast<int32_t>(in.Integer("kind", object.kind, kInt32Min, kInt32Max));
}

void ReadContentKind(JsonObject& in, CioArray& list) {
    list.contentKind =
        static_cast<int32_t>(in.Integer("content_kind", list.contentKind, kInt32Min, kInt32Max));
}

void ReadListHeader(JsonObject& owner, const char* key, CioArray& list) {
    JsonObject in = owner.Object(key);
    list.name = in.Text("name", list.name);
    ReadExtras(in, list);
    ReadKind(in, list);
    ReadContentKind(in, list);
    in.Finish();
}

void ReadRefListHeader(JsonObject& owner, const char* key, CioMapArray& list) {
    JsonObject in = owner.Object(key);
    list.name = in.Text("name", list.name);
    ReadExtras(in, list);
    ReadKind(in, list);
    in.Finish();
}

// A price must be a decimal string within the catalogue's range; each message names what is wrong
// with it.
int64_t ToPrice(const Json& value, const std::string& path) {
    if (!value.is_string())
        Fail(path, Translate("expected a decimal number as a string"));
    const auto& text = value.get_ref<const std::string&>();
    const std::optional<int64_t> scaled = ParsePrice(text);
    if (!scaled)
        Fail(path, FormatText(Translate("%s is not a price (a decimal number with at most four "
                                        "decimal places)"),
                              {QuoteInput(text)}));
    const std::string largest = FormatPrice({0, kMaxPriceScaled});
    if (*scaled < 0)
        Fail(path, FormatText(Translate("%s is negative; a price is 0 to %s"),
                              {QuoteInput(text), largest}));
    if (*scaled > kMaxPriceScaled)
        Fail(path, FormatText(Translate("%s is larger than %s, the largest price"),
                              {QuoteInput(text), largest}));
    return *scaled;
}

void ReadModulePart(JsonObject& in, CioModul& module) {
    module.marking = in.Text("marking", module.marking);
    if (const Json* price = in.Find("price"))
        module.listPrice.scaled = ToPrice(*price, in.PathOf("price"));
    module.listPrice.status =
        static_cast<int32_t>(in.Integer("price_status", 0, kInt32Min, kInt32Max));
}

std::unique_ptr<CioDb> Importer::Run() {
    ReadFormat();
    JsonObject database = m_root.Object("database");
    m_db->name = database.Text("name", m_db->name);
    ReadExtras(database, *m_db);
    ReadKind(database, *m_db);
    database.Finish();
    ReadListHeaders();
    ReadEntries(m_root, kIoKinds, m_db->ioKinds, &Importer::Kind);
    ReadEntries(m_root, kModules, m_db->modules, &Importer::Module);
    ReadEntries(m_root, kSeries, m_db->seriesList, &Importer::Series);
    ReadEntries(m_root, kDevices, m_db->devices, &Importer::Device);
    m_root.Finish();
    m_refs.emplace(*m_db);
    for (const Pending& resolve : m_pending)
        resolve();
    m_db->CountPoints();
    m_db->ComputeTotals();
    return std::move(m_db);
}

void Importer::ReadFormat() {
    const Json* format = m_root.Find("format");
    if (format == nullptr || *format != kFormat)
        Fail("format", FormatText(Translate("expected \"%s\""), {kFormat}));
    const Json* version = m_root.Find("version");
    if (version == nullptr || !version->is_number_integer() || *version != kVersion)
        Fail("version", FormatText(Translate("expected %d"), {kVersion}));
}

void Importer::ReadListHeaders() {
    JsonObject lists = m_root.Object("lists");
    ReadListHeader(lists, kIoKinds, m_db->ioKinds);
    ReadListHeader(lists, kModules, m_db->modules);
    ReadListHeader(lists, kDevices, m_db->devices);
    ReadListHeader(lists, kSeries, m_db->seriesList);
    lists.Finish();
}

void Importer::ReadEntries(JsonObject& owner, const char* key, CioArray& list, Reader read) {
    const Json& items = owner.Array(key);
    for (size_t i = 0; i < items.size(); ++i) {
        JsonObject in(items[i], ItemPath(owner.PathOf(key), i));
        list.Append((this->*read)(in));
        in.Finish();
    }
}

std::unique_ptr<CioType> Importer::Kind(JsonObject& in) {
    auto kind = std::make_unique<CioType>();
    kind->name = in.Text("name", kind->name);
    kind->SetCategory(in.Enum("category", kCategoryNames, 0, kCategoryMax));
    if (in.Bool("required"))
        kind->flags |= FLAG_REQUIRED;
    ReadExtras(in, *kind, kKindNamedBits);
    ReadKind(in, *kind);
    return kind;
}

std::unique_ptr<CioType> Importer::Module(JsonObject& in) {
    auto module = std::make_unique<CioModul>();
    module->name = in.Text("name", module->name);
    ReadModulePart(in, *module);
    ReadExtras(in, *module);
    ReadKind(in, *module);
    ReadContentKind(in, *module);
    ReadEntries(in, "variants", *module, &Importer::Variant);
    return module;
}

std::unique_ptr<CioType> Importer::Variant(JsonObject& in) {
    auto variant = std::make_unique<CioVariant>();
    variant->name = in.Text("name", variant->name);
    const Json* points = &in.Array("points");
    const Json* rules = &in.Array("rules");
    m_pending.push_back([this, v = variant.get(), points, rules, path = in.Path()] {
        ReadPoints(*points, path, *v);
        ReadRules(*rules, path, *v);
    });
    ReadExtras(in, *variant);
    ReadKind(in, *variant);
    ReadRefListHeader(in, "rules_list", variant->rules);
    return variant;
}

std::unique_ptr<CioType> Importer::Series(JsonObject& in) {
    auto series = std::make_unique<CioLine>();
    series->name = in.Text("name", series->name);
    if (in.Bool("default"))
        series->flags |= FLAG_DEFAULT;
    if (in.Bool("exclusive"))
        series->flags |= FLAG_EXCLUSIVE;
    ReadExtras(in, *series, kSeriesNamedBits);
    ReadKind(in, *series);
    return series;
}

std::unique_ptr<CioType> Importer::Device(JsonObject& in) {
    auto device = std::make_unique<CioPlc>();
    device->name = in.Text("name", device->name);
    ReadModulePart(in, *device);
    m_pending.push_back([this, d = device.get(), series = in.Find("series"), path = in.Path()] {
        ReadSeries(series, path, *d);
    });
    device->deviceType = in.Enum("type", kTypeNames, kInt32Min, kInt32Max);
    device->ioSpeed = in.Enum("io_speed", kSpeedNames, kInt32Min, kInt32Max);
    device->control = in.Enum("control", kControlNames, kInt32Min, kInt32Max);
    m_pending.push_back([this, d = device.get(), lines = &in.Array("lines"), path = in.Path()] {
        ReadLines(*lines, path, *d);
    });
    ReadExtras(in, *device);
    ReadKind(in, *device);
    ReadContentKind(in, *device);
    ReadRefListHeader(in, "lines_list", device->lines);
    ReadEntries(in, "positions", *device, &Importer::Position);
    return device;
}

std::unique_ptr<CioType> Importer::Position(JsonObject& in) {
    auto position = std::make_unique<CioVariant>();
    position->name = in.Text("name", position->name);
    const Json* modules = &in.Array("modules");
    const Json* rules = &in.Array("rules");
    m_pending.push_back([this, p = position.get(), modules, rules, path = in.Path()] {
        ReadModules(*modules, path, *p);
        ReadRules(*rules, path, *p);
    });
    ReadExtras(in, *position);
    ReadKind(in, *position);
    ReadRefListHeader(in, "rules_list", position->rules);
    return position;
}

void Importer::ReadPoints(const Json& points, const std::string& path, CioVariant& variant) const {
    const std::string pointsPath = FieldPath(path, "points");
    for (size_t i = 0; i < points.size(); ++i) {
        JsonObject run(points[i], ItemPath(pointsPath, i));
        const Json* ref = run.Find("kind");
        if (ref == nullptr)
            Fail(run.Path(), FormatText(Translate("missing field '%s'"), {"kind"}));
        CioType* kind =
            RefTo(*ref, run.PathOf("kind"), path, Translate("IO kind"), &References::FindKind);
        const auto count = static_cast<size_t>(run.Integer("count", 1, 1, kMaxVariantPoints));
        run.Finish();
        if (variant.entries.size() + count > kMaxVariantPoints)
            Fail(path, FormatText(Translate("more than %d points"), {kMaxVariantPoints}));
        variant.entries.insert(variant.entries.end(), count, kind);
    }
}

void Importer::ReadRules(const Json& rules, const std::string& path, CioVariant& variant) const {
    for (size_t i = 0; i < rules.size(); ++i)
        variant.rules.entries.push_back(RefTo(rules[i], ItemPath(FieldPath(path, "rules"), i), path,
                                              Translate("variant"), &References::FindVariant));
}

void Importer::ReadModules(const Json& modules, const std::string& path,
                           CioVariant& position) const {
    for (size_t i = 0; i < modules.size(); ++i)
        position.entries.push_back(RefTo(modules[i], ItemPath(FieldPath(path, "modules"), i), path,
                                         Translate("module"), &References::FindModule));
}

void Importer::ReadSeries(const Json* series, const std::string& path, CioPlc& device) const {
    if (series == nullptr || series->is_null())
        return;
    const std::string ref = ToText(*series, FieldPath(path, "series"));
    device.series.object =
        static_cast<CioLine*>(Resolve(m_refs->FindSeries(ref), path, Translate("series"), ref));
}

void Importer::ReadLines(const Json& lines, const std::string& path, CioPlc& device) const {
    for (size_t i = 0; i < lines.size(); ++i)
        device.lines.entries.push_back(RefTo(lines[i], ItemPath(FieldPath(path, "lines"), i), path,
                                             Translate("line"), &References::FindLine));
}

// A reference is a text that the place's own list finds, or {"LIST": text} for an object in
// another list, {"database": true} for the database.
CioType* Importer::RefTo(const Json& value, const std::string& valuePath, const std::string& path,
                         const char* what, References::Finder find) const {
    if (value.is_string()) {
        const std::string ref = ToText(value, valuePath);
        return Resolve((*m_refs.*find)(ref), path, what, ref);
    }
    if (!value.is_object() || value.size() != 1)
        Fail(valuePath, Translate("expected a name or an object {\"LIST\": name}"));
    const auto item = value.items().begin();
    const std::string list = item.key();
    const Json& inner = item.value();
    const std::string innerPath = FieldPath(valuePath, list);
    if (list == kDatabase) {
        if (inner != true)
            Fail(innerPath, Translate("expected true"));
        return m_db.get();
    }
    const References::Finder elsewhere = References::FinderOf(list);
    if (elsewhere == nullptr)
        Fail(valuePath, FormatText(Translate("unknown list %s"), {QuoteInput(list)}));
    const std::string ref = ToText(inner, innerPath);
    return Resolve((*m_refs.*elsewhere)(ref), path, FormatText(Translate("entry of %s"), {list}),
                   ref);
}

} // namespace

std::unique_ptr<CioDb> CatalogueFromJson(const CatalogueJson& json) {
    return Importer(json).Run();
}

} // namespace pinsum
