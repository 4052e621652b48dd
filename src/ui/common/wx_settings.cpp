#include "common/wx_settings.h"

#include "host/auto_update_setting.h"

namespace pinsum::ui {

WxConfigSettings::WxConfigSettings()
    : m_config(std::make_unique<wxConfig>("Planner", "Tarvesko")) {}

WxConfigSettings::WxConfigSettings(std::unique_ptr<wxConfigBase> config)
    : m_config(std::move(config)) {}

wxString WxConfigSettings::EntryPath(const std::string& keyPath, const std::string& name) const {
    // The store is already rooted at the program's own key.
    wxString path = "/";
    if (keyPath != kAutoUpdateKeyPath) {
        wxString key = wxString::FromUTF8(keyPath);
        key.Replace("\\", "/");
        path += key + "/";
    }
    return path + wxString::FromUTF8(name);
}

std::optional<std::vector<uint8_t>> WxConfigSettings::ReadValue(const std::string& keyPath,
                                                                const std::string& name) {
    const wxString path = EntryPath(keyPath, name);
    if (!m_config->HasEntry(path))
        return std::nullopt;
    // A number is what WriteUInt32 stores (a 4-byte value in the registry); anything else
    // another program wrote is read as its raw bytes, so its size counts.
    long number = 0;
    if (m_config->Read(path, &number)) {
        const auto value = static_cast<uint32_t>(number);
        return std::vector<uint8_t>{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                    static_cast<uint8_t>(value >> 16),
                                    static_cast<uint8_t>(value >> 24)};
    }
    wxMemoryBuffer bytes;
    if (!m_config->Read(path, &bytes))
        return std::nullopt;
    const auto* data = static_cast<const uint8_t*>(bytes.GetData());
    return std::vector<uint8_t>(data, data + bytes.GetDataLen());
}

long WxConfigSettings::WriteUInt32(const std::string& keyPath, const std::string& name,
                                   uint32_t value) {
    const wxString path = EntryPath(keyPath, name);
    if (!m_config->Write(path, static_cast<long>(value)) || !m_config->Flush())
        return 1;
    return 0;
}

} // namespace pinsum::ui
