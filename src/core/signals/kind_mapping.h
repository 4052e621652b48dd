#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pinsum {

class CioDb;
class CioType;

// The IO kinds of a catalogue by name, compared as NameKey compares. Where two kinds share a
// key, only the one whose name is exactly the text asked for (in normal form C) is found.
class KindIndex {
public:
    explicit KindIndex(const CioDb& catalogue);

    // The kind of that name, or none.
    const CioType* Find(std::string_view utf8) const;
    // The catalogue's names (UTF-8) most like a name that matched none, best first.
    std::vector<std::string> Hints(std::string_view utf8) const;

private:
    std::unordered_map<std::string, std::vector<const CioType*>> m_byKey;
    std::vector<std::string> m_names; // Windows-1250, for the hints
};

// A map file: signal types (compared as names) to the IO kinds they stand for, or to nothing for
// rows that are no IO point (a spare, a note).
class KindMap {
public:
    struct Entry {
        std::string type;
        const CioType* kind; // none: the rows are left out
    };

    // Reads the JSON object of the map file: {"DI": "DI 24V DC", "Rezerva": null}. Throws
    // SignalListError, naming the file and the key, for bad JSON, a value that is neither a
    // string nor null, a kind the catalogue does not have and two keys that compare equal.
    static KindMap Parse(std::string_view json, const std::string& fileName,
                         const KindIndex& kinds);

    // The entry for a type, or none.
    const Entry* Find(std::string_view utf8) const;

private:
    std::unordered_map<std::string, Entry> m_entries;
};

} // namespace pinsum
