#pragma once

#include <string>

namespace Lamellor
{

// Text-keyed settings as the slice engine reads them. Values are always stored as text; the
// typed readers convert on every read.
class SettingsBaseVirtual
{
  public:
    virtual ~SettingsBaseVirtual() = default;

    // Stores value under key. A key the holder does not know yet is stored with a warning line.
    virtual void setSetting(const std::string &key, const std::string &value) = 0;
    // The text of key, asked from the parent when this holder does not have it; empty if unknown.
    virtual std::string getSettingString(const std::string &key) const = 0;
    virtual bool hasSetting(const std::string &key) const = 0;
};

} // namespace Lamellor
