#include "support/search_project.h"

#include "host/program_texts.h"
#include "solver/compile_request.h"
#include "support/reference_search.h"
#include "support/small_catalogue.h"

namespace pinsum::test {

std::vector<CioType*> Points(CioType* kind, int n) {
    return std::vector<CioType*>(static_cast<size_t>(n), kind);
}

SearchProject::SearchProject() {
    project.database = std::make_unique<CioDb>();
    series = Series("S");
}

CioType* SearchProject::Kind(const std::string& name, int category, bool required) {
    CioType* kind = AddKind(Db(), name, category, required);
    auto node = std::make_unique<CioNode>();
    node->kindRef.object = kind;
    node->flags |= FLAG_CHECKED;
    project.requestList.Append(std::move(node));
    return kind;
}

CioModul* SearchProject::Module(const std::string& name, int64_t wholePrice,
                                const std::vector<std::vector<CioType*>>& variants) {
    return AddModule(Db(), name, wholePrice * 10000, variants);
}

CioLine* SearchProject::Series(const std::string& name) {
    CioLine* line = AddSeries(Db(), name, 0);
    line->flags |= FLAG_CHECKED;
    project.seriesSelection.entries.push_back(line);
    return line;
}

CioPlc* SearchProject::Device(const std::string& name, int deviceType, int64_t ownWholePrice,
                              const std::vector<CioType*>& lines,
                              const std::vector<std::vector<CioType*>>& positions,
                              CioLine* inSeries) {
    CioPlc* device =
        AddDevice(Db(), name, inSeries != nullptr ? inSeries : series, deviceType, positions);
    device->listPrice.scaled = ownWholePrice * 10000;
    device->lines.entries = lines;
    device->flags |= FLAG_CHECKED;
    return device;
}

CioNode* SearchProject::Item(const CioType* kind) const {
    for (const auto& child : project.requestList.children) {
        auto* node = dynamic_cast<CioNode*>(child.get());
        if (node != nullptr && node->Kind() == kind)
            return node;
    }
    return nullptr;
}

void SearchProject::Request(const CioType* kind, int count) {
    Item(kind)->count = count;
}

void SearchProject::Search(int level, ManualResetEvent* stop, CioCompileThread* thread,
                           CompileRequest* request) {
    Db().CountPoints();
    Db().ComputeTotals();
    messenger.shown.clear();
    messenger.icons.clear();
    CompileRequest local;
    CompileRequest& r = request != nullptr ? *request : local;
    r.project = &project;
    r.thoroughness = level;
    r.stopEvent = stop;
    r.thread = thread;
    r.messenger = &messenger;
    project.Compile(&r);
}

CioSolution& SearchProject::Solution(size_t index) const {
    return *project.Solution(index);
}

std::vector<std::string> SearchProject::Layout(size_t index) const {
    std::vector<std::string> layout;
    const CioSolution& solution = Solution(index);
    for (size_t i = 0; i < solution.Count(); ++i) {
        const CioEquip* equip = solution.Equipment(i);
        std::string text = equip->Device() != nullptr ? equip->Device()->name : "?";
        text += ":";
        const CioModuleSelector* chosen = equip->Chosen();
        for (size_t p = 0; chosen != nullptr && p < chosen->modules.size(); ++p) {
            if (p > 0)
                text += ",";
            text += chosen->modules[p] != nullptr ? chosen->modules[p]->name : "?";
        }
        layout.push_back(text);
    }
    return layout;
}

std::string SearchProject::Report() const {
    std::string text;
    project.Describe(text, "");
    return text;
}

std::string SearchProject::ResultMessage(size_t n) {
    return FormatText(TextId::SolutionCount, {n});
}

std::unique_ptr<CioEquip> MatchedEquipment(CioPlc* device, const KindCountMap& request) {
    CioModuleSelector selector;
    AttachFirstValid(selector, device);
    selector.Match(request);
    auto equip = std::make_unique<CioEquip>();
    equip->device.object = device;
    equip->selectors.push_back(selector.Clone());
    equip->GetPrice();
    equip->ioCount = selector.coveredTotal;
    return equip;
}

} // namespace pinsum::test
