#pragma once

#include <memory>

#include <wx/config.h>

#include "host/settings.h"

namespace pinsum::ui {

// The engine's settings store on wxConfig, vendor "Tarvesko", application "Planner": on Windows
// that is the registry key HKEY_CURRENT_USER\Software\Tarvesko\Planner, elsewhere the user's
// configuration file of that name. Values under that key path are the store's top-level entries.
class WxConfigSettings : public Settings {
public:
    WxConfigSettings();
    // Tests pass a store of their own.
    explicit WxConfigSettings(std::unique_ptr<wxConfigBase> config);

    std::optional<std::vector<uint8_t>> ReadValue(const std::string& keyPath,
                                                  const std::string& name) override;
    long WriteUInt32(const std::string& keyPath, const std::string& name, uint32_t value) override;

private:
    wxString EntryPath(const std::string& keyPath, const std::string& name) const;
    std::unique_ptr<wxConfigBase> m_config;
};

} // namespace pinsum::ui
