#pragma once

#include <cstdint>
#include <string>

#include "model/tree_control.h"

namespace pinsum {

class ArchiveReader;
class ArchiveWriter;
class IdentityTable;

// Kind codes; the tag text of each is written in front of every stored object.
enum IoKind : int32_t {
    C_IO = 0,
    C_ARRAY_IO = 1,
    C_MAPARRAY_IO = 2,
    C_VARIANT_IO = 3,
    C_MODUL_IO = 4,
    C_PLC_IO = 5,
    C_DB_IO = 6,
    C_LINE_TYPE_IO = 7,
    C_IO_NODE = 8,
    C_IO_GROUP = 9,
    C_IO_EQUIP = 10,
    C_IO_PROJECT = 11,
    C_IO_MODULE_NODE = 12,
    C_IO_SOLUTION_NODE = 13,
    C_NULL = 14,
};

// Bits of the flag word.
constexpr uint32_t FLAG_EXPANDED = 0x01;
constexpr uint32_t FLAG_SELECTED = 0x02;
constexpr uint32_t FLAG_CHECKED = 0x08;
constexpr uint32_t FLAG_REQUIRED = 0x10;
constexpr uint32_t FLAG_DEFAULT = 0x10;
constexpr uint32_t FLAG_EXCLUSIVE = 0x20;
constexpr uint32_t FLAG_CATEGORY_MASK = 0xFF00;

// Identities of the built-in objects.
constexpr uint32_t kEmptyModuleId = 1;
constexpr uint32_t kVornetId = 2;
constexpr uint32_t kKalbusId = 3;
constexpr uint32_t kEmptyVariantId = 4;

// A fresh identity, never 0 to 4, unique among the live objects of the process.
uint32_t NewIdentity();
// Starts the identities again from the first one, so that two loads of the same file give the
// same identities and store the same bytes. For tests and fuzzers only: objects alive across the
// restart may share identities with later ones.
void RestartIdentitiesForTesting();

// Root of every catalogue and calculation object. Texts are Windows-1250 bytes.
class CioType {
public:
    CioType();
    // For the built-in objects; a null name gives "IO".
    CioType(uint32_t identity, const char* name);
    CioType(const CioType&) = delete;
    CioType& operator=(const CioType&) = delete;
    virtual ~CioType();

    virtual void RemoveAll() {}
    virtual void Store(ArchiveWriter& ar) const;
    virtual void Load(ArchiveReader& ar);
    virtual void RenewIds();
    virtual void ResolveRefs(const IdentityTable& table) { (void)table; }
    virtual void ForgetRef(const CioType* object) { (void)object; }
    virtual std::string GetText() const { return name; }
    virtual void OnItemExpanded(TreeControl& tree);
    virtual void SyncTreeState(TreeControl& tree, bool read);
    virtual int GetImage() const;
    virtual TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after);
    virtual int InsertItem(TreeControl& tree);
    virtual int DeleteItem(TreeControl& tree, CioType* child);
    virtual int EditItem(TreeControl& tree);
    virtual int IsInsertItem(TreeControl& tree) const;
    virtual int IsDeleteItem(TreeControl& tree) const;
    virtual int IsEditItem(TreeControl& tree) const;
    virtual int PrepareHelp(std::string& out) const;
    virtual void ReadChildrenFromTree(TreeControl& tree) { (void)tree; }
    virtual void CopyFrom(const CioType* other);
    virtual int IsEqual(const CioType* other) const;
    virtual int HasHelp() const { return help.empty() ? 0 : 1; }
    virtual void GetHelpMarkup(std::string& out) const;
    virtual void CountPoints() {}
    virtual void ComputeTotals();
    virtual void Describe(std::string& text, const std::string& prefix) const;

    int Category() const { return static_cast<int>((flags & FLAG_CATEGORY_MASK) >> 8); }
    void SetCategory(int category);

    uint32_t id;
    int32_t kind = C_IO;
    std::string help;
    std::string name;
    uint32_t flags = 0;
    TreeItem treeItem = kNoItem;
    double price = 0.0;
    int32_t ioCount = 0;

protected:
    // Root copy shared by every class's CopyFrom.
    void CopyRootFrom(const CioType& other);
    // Sets item text and images from GetText and GetImage.
    void RefreshItem(TreeControl& tree) const;
};

} // namespace pinsum
