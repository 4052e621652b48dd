#pragma once

// Shared by the JSON export and import of a catalogue: field names, paths in error messages and
// references by name or index.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/cio_type.h"

namespace pinsum {

class CioArray;
class CioDb;
class CioModul;

namespace catalogue_json {

using Json = nlohmann::ordered_json;

inline constexpr const char* kFormat = "pinsum-catalogue";
inline constexpr int kVersion = 1;

inline constexpr const char* kIoKinds = "io_kinds";
inline constexpr const char* kModules = "modules";
inline constexpr const char* kSeries = "series";
inline constexpr const char* kDevices = "devices";

// The empty module's reference; it stands for an unoccupied position.
inline constexpr const char* kEmptyModuleRef = "--";
inline constexpr const char* kVornetRef = "VORNET";
inline constexpr const char* kKalbusRef = "KALBUS";

// Flag bits that named fields carry, so "flags" holds only the rest.
inline constexpr uint32_t kKindNamedBits = FLAG_REQUIRED | FLAG_CATEGORY_MASK;
inline constexpr uint32_t kSeriesNamedBits = FLAG_DEFAULT | FLAG_EXCLUSIVE;

// A variant's per-kind point counts are 16-bit, so a variant holds at most this many points.
inline constexpr size_t kMaxVariantPoints = 0xFFFF;

// The names of the values 0 and 1 of a numeric field; other values are written as numbers.
using EnumNames = std::array<const char*, 2>;
inline constexpr EnumNames kCategoryNames = {"io", "terminal"};
inline constexpr EnumNames kTypeNames = {"controller", "peripheral"};
inline constexpr EnumNames kSpeedNames = {"high", "low"};
inline constexpr EnumNames kControlNames = {"standard", "terminal"};

std::string ItemPath(const std::string& path, size_t index);
std::string FieldPath(const std::string& path, const std::string& key);
[[noreturn]] void Fail(const std::string& path, const std::string& message);

enum class Match { Found, Unknown, Ambiguous };

struct Lookup {
    Match match = Match::Unknown;
    CioType* object = nullptr;
    // For an ambiguous name: the references that would be unique; none when the text can be split
    // into module and variant in more than one way.
    std::vector<std::string> choices;
};

// The entries of one list by "#N" or by a name unique in the list (Windows-1250 names).
class NameIndex {
public:
    explicit NameIndex(const CioArray& list);

    Lookup Find(const std::string& ref) const;
    // The 0-based index of the object in the list, or -1.
    long IndexOf(const CioType* object) const;

private:
    std::vector<CioType*> m_objects;
    std::unordered_map<std::string, std::vector<size_t>> m_byName;
    std::unordered_map<const CioType*, size_t> m_byObject;
};

// References into the lists of one catalogue, in both directions. Texts are Windows-1250.
class References {
public:
    explicit References(const CioDb& db);

    Lookup FindKind(const std::string& ref) const { return m_kinds.Find(ref); }
    Lookup FindSeries(const std::string& ref) const { return m_series.Find(ref); }
    Lookup FindModule(const std::string& ref) const;
    // "module/variant": every split at a '/' is tried, and exactly one must find a variant.
    Lookup FindVariant(const std::string& ref) const;

    // The reference that finds the object again, or an empty text when the object is no entry of
    // the list.
    std::string KindRef(const CioType* kind) const;
    std::string SeriesRef(const CioType* series) const;
    std::string ModuleRef(const CioType* module) const;
    std::string VariantRef(const CioType* variant) const;

private:
    NameIndex m_kinds;
    NameIndex m_modules;
    NameIndex m_series;
    std::unordered_map<const CioType*, std::pair<const CioModul*, size_t>> m_variantOwners;
};

} // namespace catalogue_json
} // namespace pinsum
