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

// A reference to an object outside the list its place refers to: {"LIST": "REF"}, with LIST one
// of the keys below and REF a reference into that list; the database is {"database": true}.
inline constexpr const char* kVariants = "variants";
inline constexpr const char* kPositions = "positions";
inline constexpr const char* kLines = "lines";
inline constexpr const char* kDatabase = "database";

struct ListRef {
    const char* list = nullptr; // none: the object is in no list of the catalogue
    std::string ref;
};

// References into the lists of one catalogue, in both directions. Texts are Windows-1250.
class References {
public:
    using Finder = Lookup (References::*)(const std::string&) const;

    explicit References(const CioDb& db);

    Lookup FindKind(const std::string& ref) const { return m_kinds.Find(ref); }
    Lookup FindSeries(const std::string& ref) const { return m_series.Find(ref); }
    Lookup FindDevice(const std::string& ref) const { return m_devices.Find(ref); }
    Lookup FindModule(const std::string& ref) const;
    // "module/variant": every split at a '/' is tried, and exactly one must find a variant.
    Lookup FindVariant(const std::string& ref) const;
    // "device/position", read as a variant reference is.
    Lookup FindPosition(const std::string& ref) const;
    // VORNET or KALBUS.
    Lookup FindLine(const std::string& ref) const;
    // The finder of a ListRef's list; none for an unknown list.
    static Finder FinderOf(const std::string& list);

    // The reference that finds the object again, or an empty text when the object is no entry of
    // the list.
    std::string KindRef(const CioType* kind) const;
    std::string SeriesRef(const CioType* series) const;
    std::string ModuleRef(const CioType* module) const;
    std::string DeviceRef(const CioType* device) const;
    std::string VariantRef(const CioType* variant) const;
    std::string PositionRef(const CioType* position) const;
    // The list the object is in and its reference there.
    ListRef AnyRef(const CioType* object) const;

private:
    using Owners = std::unordered_map<const CioType*, std::pair<const CioType*, size_t>>;
    using OwnerRef = std::string (References::*)(const CioType*) const;

    Lookup FindPart(const std::string& ref, Finder findOwner) const;
    std::string PartRef(const CioType* part, const Owners& owners, const NameIndex& ownerList,
                        OwnerRef ownerRef, Finder find) const;

    const CioDb& m_db;
    NameIndex m_kinds;
    NameIndex m_modules;
    NameIndex m_series;
    NameIndex m_devices;
    Owners m_variantOwners;
    Owners m_positionOwners;
};

} // namespace catalogue_json
} // namespace pinsum
