#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/cio_type.h"
#include "model/identity_table.h"

namespace pinsum {

class ArchiveReader;
class ArchiveWriter;

// Deepest object nesting a file may have; real files nest about six levels.
constexpr int kMaxObjectDepth = 64;

// The tag text of a kind code, or nothing for a code without tag.
const char* KindTag(int32_t kind);
// The kind code of a tag text, or -1.
int32_t KindOfTag(const std::string& tag);

// A new object of the class of the kind code, or none for 9, 14 and unknown codes.
std::unique_ptr<CioType> CreateObject(int32_t kind);

// The kind code of the object's class, which a stored kind field need not match.
int32_t ClassKind(const CioType& object);

// Tag text and body; "NULL" alone for none or a kind without tag.
void WriteObject(ArchiveWriter& ar, const CioType* object);
// Reads a tagged object and registers it under its identity in the reader's identity table
// (asking about duplicates).
std::unique_ptr<CioType> ReadObject(ArchiveReader& ar);

void WriteRef(ArchiveWriter& ar, const CioType* object);
uint32_t ReadRef(ArchiveReader& ar);

// A single reference field: an object once resolved, a stored identity between Load and
// ResolveRefs.
template <class T> struct ObjectRef {
    T* object = nullptr;
    uint32_t storedId = 0;

    void Store(ArchiveWriter& ar) const;
    void Load(ArchiveReader& ar) {
        object = nullptr;
        storedId = ReadRef(ar);
    }
    // An identity that names no object, or an object of another class, leaves none.
    void Resolve(const IdentityTable& table) {
        if (storedId != 0)
            object = dynamic_cast<T*>(table.Find(storedId));
        storedId = 0;
    }
    void Forget(const CioType* o);
};

// The built-in objects, one each per process.
class CioModul;
class CioVariant;
CioModul& EmptyModule();
CioVariant& EmptyVariant();
CioType& Vornet();
CioType& Kalbus();
bool IsBuiltIn(const CioType* object);

} // namespace pinsum
