#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "exact/integer_program.h"
#include "solver/configuration_walk.h"

namespace pinsum {

class CioPlc;
class CioType;
class ManualResetEvent;

// A requested kind and how many of its points the request asks for.
struct WantedPoints {
    CioType* kind;
    int32_t count;
};

// A device as columns of the exact mode's integer program, in one of two forms.
//
// When no variant the device can take excludes another, every choice per position makes a
// valid configuration as long as the occupied positions come first. The program then counts
// the devices and, per position, how many of them take each choice: a few columns per position,
// however many configurations they make.
//
// Otherwise each usable configuration is a column, less those another configuration of the
// device beats: no dearer and placing at least as many points of every wanted kind.
//
// Either way a configuration offering a required kind the request does not ask for is unusable,
// and a device that is not the root controller must place some wanted point.
class CandidateDevice {
public:
    CandidateDevice(CioPlc* device, bool root);
    ~CandidateDevice();
    CandidateDevice(CandidateDevice&&) noexcept;
    CandidateDevice& operator=(CandidateDevice&&) noexcept;

    CioPlc* Device() const { return m_device; }
    bool Root() const { return m_root; }
    const ConfigurationWalk& Walk() const { return *m_walk; }

    // Reads the device's choices, or walks its configurations, for the wanted points. False
    // when the stop event ended the walk.
    bool Collect(const std::vector<WantedPoints>& wanted, const ManualResetEvent* stop);
    // Some configuration of the device is usable for the request.
    bool Usable() const;
    // Configurations walked one by one (none for a device counted by positions).
    size_t Walked() const { return m_walked; }

    // Adds the device's columns, bounded by the number of such devices a solution may take,
    // and the rows that keep its positions consistent; the wanted kinds' cover terms go to
    // `cover`, one list per wanted kind.
    void AddTo(IntegerProgram& program, double most,
               std::vector<std::vector<IntegerProgram::Term>>& cover);
    // Columns whose sum is the number of such devices in a solution.
    const std::vector<int>& CountColumns() const { return m_countColumns; }
    // The digits of every such device a solution takes, one list per device.
    std::vector<std::vector<uint32_t>> Configurations(const std::vector<double>& values) const;

private:
    struct Choice;
    struct Layout;
    struct Option;

    bool CollectChoices(const std::vector<WantedPoints>& wanted);
    bool CollectOptions(const std::vector<WantedPoints>& wanted, const ManualResetEvent* stop);
    void AddLayout(Layout& layout, IntegerProgram& program, double upper,
                   std::vector<std::vector<IntegerProgram::Term>>& cover);

    CioPlc* m_device;
    bool m_root;
    std::unique_ptr<ConfigurationWalk> m_walk;
    bool m_byPositions = false;
    std::vector<std::vector<Choice>> m_choices;
    std::vector<Layout> m_layouts;
    std::vector<Option> m_options;
    std::vector<int> m_countColumns;
    size_t m_walked = 0;
};

} // namespace pinsum
