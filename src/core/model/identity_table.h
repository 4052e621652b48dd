#pragma once

#include <cstdint>
#include <unordered_map>

namespace pinsum {

class CioType;

// The objects one load has read, by the identity stored in the file, and the four built-in
// objects. Each load has its own table, so two loads (of two documents, on one thread or two)
// never see each other's objects; it is consulted only while its load runs.
class IdentityTable {
public:
    IdentityTable();

    bool Contains(uint32_t identity) const { return m_objects.contains(identity); }
    // A later object with the same identity replaces the earlier one.
    void Register(uint32_t identity, CioType* object) { m_objects[identity] = object; }
    // The object of a stored identity, or none for 0 and for identities the load did not read.
    CioType* Find(uint32_t identity) const;

private:
    std::unordered_map<uint32_t, CioType*> m_objects;
};

} // namespace pinsum
