#include "model/cio_project.h"

#include "host/file_io.h"
#include "host/program_folders.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

constexpr int kAnyCategory = -1;
constexpr int kTerminals = -2;

bool CategoryMatches(const CioNode& node, int filter) {
    if (filter == kAnyCategory)
        return true;
    if (node.Kind() == nullptr)
        return false;
    const int category = node.Kind()->Category();
    return filter == kTerminals ? category != 0 : category == filter;
}

} // namespace

CioProject::CioProject() {
    kind = C_IO_PROJECT;
    contentKind = C_IO_SOLUTION_NODE;
}

CioProject::~CioProject() = default;

void CioProject::RemoveAll() {
    CioArray::RemoveAll();
    requestList.RemoveAll();
    seriesSelection.RemoveAll();
    database.reset();
}

void CioProject::Store(ArchiveWriter& ar) const {
    CioArray::Store(ar);
    ar.WriteInt32(database != nullptr ? 1 : 0);
    if (database != nullptr)
        WriteObject(ar, database.get());
    requestList.Store(ar);
    seriesSelection.Store(ar);
    ar.WriteInt32(budget);
    ar.WriteInt32(0);
}

void CioProject::Load(ArchiveReader& ar) {
    CioArray::Load(ar);
    const int32_t present = ar.ReadInt32();
    database.reset();
    if (present != 0) {
        std::unique_ptr<CioType> object = ReadObject(ar);
        if (dynamic_cast<CioDb*>(object.get()) == nullptr)
            ar.Fail(ArchiveCause::BadIndex, "projekt neobsahuje databázi");
        database.reset(static_cast<CioDb*>(object.release()));
    }
    requestList.Load(ar);
    seriesSelection.Load(ar);
    budget = ar.ReadInt32();
    ar.ReadInt32();
}

void CioProject::RenewIds() {
    CioArray::RenewIds();
    if (database != nullptr)
        database->RenewIds();
    requestList.RenewIds();
    seriesSelection.RenewIds();
}

void CioProject::ResolveRefs(const IdentityTable& table) {
    CioArray::ResolveRefs(table);
    if (database != nullptr)
        database->ResolveRefs(table);
    requestList.ResolveRefs(table);
    seriesSelection.ResolveRefs(table);
}

void CioProject::ForgetRef(const CioType* object) {
    if (database != nullptr)
        database->ForgetRef(object);
    requestList.ForgetRef(object);
    seriesSelection.ForgetRef(object);
}

void CioProject::OnItemExpanded(TreeControl& tree) {
    CioType::OnItemExpanded(tree);
    for (const auto& item : requestList.children)
        item->OnItemExpanded(tree);
}

void CioProject::SyncTreeState(TreeControl& tree, bool read) {
    CioType::SyncTreeState(tree, read);
    for (const auto& item : requestList.children)
        item->SyncTreeState(tree, read);
}

void CioProject::InsertRequestItems(TreeItem parent, TreeControl& tree, int categoryFilter) {
    for (const auto& child : requestList.children) {
        auto* node = dynamic_cast<CioNode*>(child.get());
        if (node == nullptr || !CategoryMatches(*node, categoryFilter))
            continue;
        const TreeItem item = node->InsertToTree(parent, tree, kInsertLast);
        if (item != kNoItem)
            tree.SetItemText(item, node->GetText());
    }
}

TreeItem CioProject::InsertToTree(TreeItem parent, TreeControl& tree, TreeItem) {
    InsertRequestItems(parent, tree, kAnyCategory);
    return treeItem;
}

TreeItem CioProject::InsertSolutionsToTree(TreeItem parent, TreeControl& tree) {
    for (const auto& solution : children)
        solution->InsertToTree(parent, tree, kInsertLast);
    return treeItem;
}

void CioProject::InsertTerminalsToTree(TreeItem parent, TreeControl& tree) {
    InsertRequestItems(parent, tree, kTerminals);
}

void CioProject::InsertIoToTree(TreeItem parent, TreeControl& tree) {
    InsertRequestItems(parent, tree, 0);
}

void CioProject::CopyFrom(const CioType* other) {
    const auto* source = dynamic_cast<const CioProject*>(other);
    if (source == nullptr) {
        CioType::CopyFrom(other);
        return;
    }
    database.reset();
    CioDb::ObjectMap map;
    if (source->database != nullptr) {
        database = std::make_unique<CioDb>();
        map = database->CopyWithMap(*source->database);
    }
    requestList.CopyFrom(&source->requestList);
    seriesSelection.CopyFrom(&source->seriesSelection);
    // The copy must refer to its own database, not to the one it was copied from.
    for (const auto& child : requestList.children)
        if (auto* node = dynamic_cast<CioNode*>(child.get())) {
            const auto it = map.find(node->kindRef.object);
            if (it != map.end())
                node->kindRef.object = it->second;
            else if (!IsBuiltIn(node->kindRef.object))
                node->kindRef.object = nullptr;
        }
    std::erase_if(seriesSelection.entries, [&map](CioType*& series) {
        const auto it = map.find(series);
        if (it == map.end())
            return true;
        series = it->second;
        return false;
    });
}

void CioProject::CountPoints() {
    if (database != nullptr)
        database->CountPoints();
}

void CioProject::Describe(std::string& text, const std::string& prefix) const {
    for (const auto& solution : children)
        solution->Describe(text, prefix);
}

int CioProject::LoadDatabase(const std::string* fileName, Messenger* messenger,
                             ProgressSink* progress, std::string* error) {
    const auto path = FindDataFile(fileName != nullptr ? *fileName : std::string("iodb.pp"));
    if (!path) {
        if (error != nullptr)
            *error = "soubor databáze nenalezen";
        return 0;
    }
    std::unique_ptr<CioDb> root;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(*path);
        if (!bytes.empty()) {
            ArchiveReader ar(bytes, *path);
            ar.messenger = messenger;
            if (progress != nullptr)
                ar.progress = progress;
            LoadDatabaseFile(ar, root);
        }
    } catch (const std::exception& e) {
        if (error != nullptr)
            *error = e.what();
        return 0;
    }
    RemoveAll();
    database = std::move(root);
    if (database != nullptr) {
        for (const auto& kindObject : database->ioKinds.children) {
            auto node = std::make_unique<CioNode>();
            node->kindRef.object = kindObject.get();
            node->help = std::move(kindObject->help);
            kindObject->help.clear();
            requestList.Append(std::move(node));
        }
        for (const auto& series : database->seriesList.children)
            seriesSelection.entries.push_back(series.get());
    }
    CountPoints();
    return 1;
}

} // namespace pinsum
