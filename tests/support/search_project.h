#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "support/recorders.h"

namespace pinsum {
class CioCompileThread;
class ManualResetEvent;
} // namespace pinsum

namespace pinsum::test {

// n points of one kind, as a variant lists them.
std::vector<CioType*> Points(CioType* kind, int n);

// A project over a catalogue built in code. Every kind gets a request item (count 0, checked),
// devices and series are checked, and everything goes into one series unless told otherwise.
class SearchProject {
public:
    SearchProject();

    CioDb& Db() { return *project.database; }
    CioType* Kind(const std::string& name, int category = 0, bool required = false);
    CioModul* Module(const std::string& name, int64_t wholePrice,
                     const std::vector<std::vector<CioType*>>& variants);
    CioLine* Series(const std::string& name);
    // deviceType 0 is a controller, 1 a peripheral; lines are Vornet() and Kalbus().
    CioPlc* Device(const std::string& name, int deviceType, int64_t ownWholePrice,
                   const std::vector<CioType*>& lines,
                   const std::vector<std::vector<CioType*>>& positions, CioLine* series = nullptr);
    CioNode* Item(const CioType* kind) const;
    void Request(const CioType* kind, int count);

    // Counts points and totals, forgets earlier messages, then searches on the calling thread.
    void Search(int level, ManualResetEvent* stop = nullptr, CioCompileThread* thread = nullptr,
                CompileRequest* request = nullptr);

    size_t Count() const { return project.Count(); }
    CioSolution& Solution(size_t index) const;
    // "Device:Module,Module" for every equipment of the solution, from its chosen configuration.
    std::vector<std::string> Layout(size_t index) const;
    std::string Report() const;
    // The text of the result message for n solutions.
    static std::string ResultMessage(size_t n);

    CioProject project;
    RecordingMessenger messenger;
    CioLine* series = nullptr;
};

// Equipment for the device whose configuration is the first valid one of the device, matched
// against the request.
std::unique_ptr<CioEquip> MatchedEquipment(CioPlc* device, const KindCountMap& request);

} // namespace pinsum::test
