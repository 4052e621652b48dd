#include "solver/search_request.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include <nlohmann/json.hpp>

#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/name_hint.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/json_text.h"

namespace pinsum {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kLevel = "level";
constexpr const char* kCounts = "counts";
constexpr const char* kTerminalsEnabled = "terminals_enabled";
constexpr const char* kSeries = "series";
constexpr const char* kUncheckedDevices = "unchecked_devices";

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
    throw RequestError(path.empty() ? message : path + ": " + message);
}

std::string KeyPath(const std::string& path, const std::string& key) {
    return path + "[" + QuoteInput(key, '"') + "]";
}

std::string IndexPath(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

Json ParseJson(std::string_view text) {
    Json json;
    std::string error;
    if (!ParseJsonText(text, json, error))
        Fail("", error);
    return json;
}

// Saturated to the int64 range, so that a huge value still reads as out of range.
int64_t ToInteger(const Json& value, const std::string& path) {
    if (!value.is_number_integer())
        Fail(path, Translate("expected an integer"));
    if (value.is_number_unsigned())
        return static_cast<int64_t>(
            std::min<uint64_t>(value.get<uint64_t>(), static_cast<uint64_t>(INT64_MAX)));
    return value.get<int64_t>();
}

std::vector<std::string> ToNames(const Json& value, const std::string& path) {
    if (!value.is_array())
        Fail(path, Translate("expected an array"));
    std::vector<std::string> names;
    for (size_t i = 0; i < value.size(); ++i) {
        if (!value[i].is_string())
            Fail(IndexPath(path, i), Translate("expected a string"));
        names.push_back(value[i].get<std::string>());
    }
    return names;
}

std::vector<RequestedCount> ToCounts(const Json& value) {
    if (!value.is_object())
        Fail(kCounts, Translate("expected an object"));
    std::vector<RequestedCount> counts;
    for (const auto& [kind, count] : value.items()) {
        const std::string path = KeyPath(kCounts, kind);
        const int64_t n = ToInteger(count, path);
        if (n < 0 || n > kMaxRequestedCount)
            Fail(path, FormatText(Translate("expected an integer from %d to %d"),
                                  {0, kMaxRequestedCount}));
        counts.push_back({kind, static_cast<int32_t>(n)});
    }
    return counts;
}

void SetFlag(CioType& object, uint32_t flag, bool on) {
    object.flags = on ? object.flags | flag : object.flags & ~flag;
}

template <typename T> bool Contains(const std::vector<T*>& list, const CioType* object) {
    return std::find(list.begin(), list.end(), object) != list.end();
}

// The objects a request names, looked up by their Windows-1250 names.
class Catalogue {
public:
    explicit Catalogue(CioProject& project);

    CioNode* Kind(const std::string& utf8, const std::string& path) const {
        return m_items[Find(m_kinds, utf8, Translate("IO kind"), path)];
    }
    CioNode* Terminal(const std::string& utf8, const std::string& path) const;
    CioType* Series(const std::string& utf8, const std::string& path) const {
        return m_series[Find(m_series, utf8, Translate("series"), path)];
    }
    CioPlc* Device(const std::string& utf8, const std::string& path) const {
        return m_devices[Find(m_devices, utf8, Translate("device"), path)];
    }

private:
    template <typename T>
    static size_t Find(const std::vector<T*>& objects, const std::string& utf8, const char* what,
                       const std::string& path);

    std::vector<CioNode*> m_items;
    std::vector<CioType*> m_kinds; // m_items' kinds, index for index
    std::vector<CioType*> m_series;
    std::vector<CioPlc*> m_devices;
};

Catalogue::Catalogue(CioProject& project) {
    for (const auto& child : project.requestList.children)
        if (auto* item = dynamic_cast<CioNode*>(child.get()); item != nullptr && item->Kind()) {
            m_items.push_back(item);
            m_kinds.push_back(item->Kind());
        }
    for (CioType* series : project.seriesSelection.entries)
        if (series != nullptr)
            m_series.push_back(series);
    if (project.database != nullptr)
        for (const auto& child : project.database->devices.children)
            if (auto* device = dynamic_cast<CioPlc*>(child.get()))
                m_devices.push_back(device);
}

CioNode* Catalogue::Terminal(const std::string& utf8, const std::string& path) const {
    CioNode* item = Kind(utf8, path);
    if (item->Kind()->Category() == 0)
        Fail(path, FormatText(Translate("IO kind %s is not a terminal kind"), {QuoteInput(utf8)}));
    return item;
}

template <typename T>
size_t Catalogue::Find(const std::vector<T*>& objects, const std::string& utf8, const char* what,
                       const std::string& path) {
    std::vector<size_t> found;
    // A name with characters outside Windows-1250 must not match, nor be hinted at, through its
    // '?' replacements.
    const bool representable = IsCp1250Representable(utf8);
    const std::string name = representable ? Utf8ToCp1250(utf8) : std::string();
    for (size_t i = 0; i < objects.size() && representable; ++i)
        if (objects[i]->name == name)
            found.push_back(i);
    if (found.empty()) {
        std::vector<std::string> names;
        for (const T* object : objects)
            names.push_back(object->name);
        Fail(path, FormatText(Translate("unknown %s %s"), {what, QuoteInput(utf8)}) +
                       (representable ? DidYouMean(ClosestNames(name, names)) : ""));
    }
    if (found.size() > 1)
        Fail(path, FormatText(Translate("%s %s is ambiguous: the catalogue has %d of that name"),
                              {what, QuoteInput(utf8), found.size()}));
    return found.front();
}

// The request resolved against the catalogue, so that a bad name changes nothing.
struct Resolved {
    std::vector<std::pair<CioNode*, int32_t>> counts;
    std::vector<CioNode*> terminals;
    std::optional<std::vector<CioType*>> series;
    std::vector<CioPlc*> uncheckedDevices;
};

Resolved Resolve(const SearchRequest& request, const Catalogue& catalogue) {
    Resolved resolved;
    for (const RequestedCount& count : request.counts)
        resolved.counts.emplace_back(catalogue.Kind(count.kind, KeyPath(kCounts, count.kind)),
                                     count.count);
    for (size_t i = 0; i < request.terminalsEnabled.size(); ++i)
        resolved.terminals.push_back(
            catalogue.Terminal(request.terminalsEnabled[i], IndexPath(kTerminalsEnabled, i)));
    if (request.series) {
        resolved.series.emplace();
        for (size_t i = 0; i < request.series->size(); ++i)
            resolved.series->push_back(
                catalogue.Series((*request.series)[i], IndexPath(kSeries, i)));
    }
    for (size_t i = 0; i < request.uncheckedDevices.size(); ++i)
        resolved.uncheckedDevices.push_back(
            catalogue.Device(request.uncheckedDevices[i], IndexPath(kUncheckedDevices, i)));
    return resolved;
}

void ApplyRequestItems(const Resolved& resolved, CioProject& project) {
    for (const auto& child : project.requestList.children)
        if (auto* item = dynamic_cast<CioNode*>(child.get())) {
            item->count = 0;
            if (item->Kind() != nullptr && item->Kind()->Category() != 0)
                SetFlag(*item, FLAG_CHECKED, Contains(resolved.terminals, item));
        }
    for (const auto& [item, count] : resolved.counts)
        item->count = count;
}

// Checks the series and their devices as the calculator's selection tree would show them.
void ApplySelection(const Resolved& resolved, CioProject& project) {
    std::vector<CioType*> checked;
    for (CioType* series : project.seriesSelection.entries) {
        if (series == nullptr)
            continue;
        const bool on = resolved.series ? Contains(*resolved.series, series)
                                        : (series->flags & FLAG_DEFAULT) != 0;
        SetFlag(*series, FLAG_CHECKED, on);
        if (on)
            checked.push_back(series);
    }
    if (project.database == nullptr)
        return;
    for (const auto& child : project.database->devices.children)
        if (auto* device = dynamic_cast<CioPlc*>(child.get()))
            SetFlag(*device, FLAG_CHECKED,
                    device->series.object != nullptr && Contains(checked, device->series.object));
    for (CioPlc* device : resolved.uncheckedDevices)
        SetFlag(*device, FLAG_CHECKED, false);
}

} // namespace

SearchRequest ParseSearchRequest(std::string_view jsonText) {
    const Json json = ParseJson(jsonText);
    if (!json.is_object())
        Fail("", Translate("expected a JSON object"));
    SearchRequest request;
    for (const auto& [key, value] : json.items()) {
        if (key == kLevel)
            request.level = ToInteger(value, key);
        else if (key == kCounts)
            request.counts = ToCounts(value);
        else if (key == kTerminalsEnabled)
            request.terminalsEnabled = ToNames(value, key);
        else if (key == kSeries)
            request.series = ToNames(value, key);
        else if (key == kUncheckedDevices)
            request.uncheckedDevices = ToNames(value, key);
        else
            Fail(ShortenInput(key), Translate("unknown field"));
    }
    return request;
}

namespace {

// How often each name occurs among the objects.
template <class Objects> std::map<std::string, int> NameCounts(const Objects& objects) {
    std::map<std::string, int> counts;
    for (const CioType* object : objects)
        if (object != nullptr)
            ++counts[object->name];
    return counts;
}

// The names of the objects that no other object among all of their kind bears, in their order;
// each shared name once in leftOut.
std::vector<std::string> UnambiguousNames(const std::vector<const CioType*>& objects,
                                          const std::map<std::string, int>& counts, bool series,
                                          std::vector<AmbiguousName>* leftOut) {
    std::vector<std::string> names;
    std::set<std::string> reported;
    for (const CioType* object : objects) {
        const int bearers = counts.at(object->name);
        if (bearers == 1)
            names.push_back(Cp1250ToUtf8(object->name));
        else if (leftOut != nullptr && reported.insert(object->name).second)
            leftOut->push_back({Cp1250ToUtf8(object->name), bearers, series});
    }
    return names;
}

} // namespace

SearchRequest TemplateRequest(const CioProject& project, std::vector<AmbiguousName>* leftOut) {
    std::vector<const CioType*> kinds;
    for (const auto& child : project.requestList.children)
        if (const auto* item = dynamic_cast<const CioNode*>(child.get());
            item != nullptr && item->Kind() != nullptr)
            kinds.push_back(item->Kind());
    std::vector<const CioType*> defaultSeries;
    for (const CioType* entry : project.seriesSelection.entries)
        if (entry != nullptr && (entry->flags & FLAG_DEFAULT) != 0)
            defaultSeries.push_back(entry);
    SearchRequest request;
    request.level = 0;
    for (std::string& kind : UnambiguousNames(kinds, NameCounts(kinds), false, leftOut))
        request.counts.push_back({std::move(kind), 0});
    request.series =
        UnambiguousNames(defaultSeries, NameCounts(project.seriesSelection.entries), true, leftOut);
    return request;
}

std::string SearchRequestJson(const SearchRequest& request) {
    Json counts = Json::object();
    for (const RequestedCount& count : request.counts)
        counts[count.kind] = count.count;
    Json json = {{kLevel, request.level.value_or(0)},
                 {kCounts, std::move(counts)},
                 {kTerminalsEnabled, request.terminalsEnabled}};
    if (request.series)
        json[kSeries] = *request.series;
    json[kUncheckedDevices] = request.uncheckedDevices;
    return json.dump(2) + "\n";
}

void ApplySearchRequest(const SearchRequest& request, CioProject& project) {
    const Resolved resolved = Resolve(request, Catalogue(project));
    ApplyRequestItems(resolved, project);
    ApplySelection(resolved, project);
}

} // namespace pinsum
