#pragma once

#include "slicing/SettingsBaseVirtual.h"

#include <map>
#include <string>

namespace Lamellor
{

// A map of settings with an optional parent that supplies keys this holder does not have.
// Not thread-safe for writes; reads of a filled holder may run on any thread.
class SettingsBase : public SettingsBaseVirtual
{
  public:
    SettingsBase() = default;
    explicit SettingsBase(const SettingsBaseVirtual *parent) : m_parent(parent) {}

    void setParent(const SettingsBaseVirtual *parent) { m_parent = parent; }
    const SettingsBaseVirtual *parent() const { return m_parent; }

    void setSetting(const std::string &key, const std::string &value) override;
    // Stores a known key with its default value, without the unregistered-key warning.
    void registerSetting(const std::string &key, const std::string &value)
    {
        m_settings[key] = value;
    }
    std::string getSettingString(const std::string &key) const override;
    bool hasSetting(const std::string &key) const override;

    // Millimetres as text, returned as micrometres truncated toward zero ("0.05" gives 50).
    int getSettingInMicrons(const std::string &key) const;
    // "on", "yes", "true", "True" are true; anything else is true when its leading integer is not
    // 0.
    bool getSettingBoolean(const std::string &key) const;
    // The leading integer of the text (0 when the text does not start with one).
    int getSettingInt(const std::string &key) const;

    const std::map<std::string, std::string> &settings() const { return m_settings; }

  private:
    std::map<std::string, std::string> m_settings;
    const SettingsBaseVirtual *m_parent = nullptr;
};

// The text conversions of the settings readers, usable on their own.
int textToMicrons(const std::string &text);
bool textToBoolean(const std::string &text);
int textToInt(const std::string &text);

} // namespace Lamellor
