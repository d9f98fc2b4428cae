#include "slicing/SettingsBase.h"

#include "slicing/EngineLog.h"

#include <cstdlib>

namespace Lamellor {

int textToMicrons(const std::string &text)
{
    const double millimetres = std::strtod(text.c_str(), nullptr);
    const double microns = millimetres * 1000.0;
    // Out-of-range values would make the cast undefined; clamp them to the int range.
    if (!(microns > -2147483648.0))
        return microns != microns ? 0 : -2147483647 - 1;
    if (!(microns < 2147483648.0))
        return 2147483647;
    return static_cast<int>(microns);
}

bool textToBoolean(const std::string &text)
{
    if (text == "on" || text == "yes" || text == "true" || text == "True")
        return true;
    return textToInt(text) != 0;
}

int textToInt(const std::string &text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > 2147483647L)
        return 2147483647;
    if (value < -2147483647L - 1)
        return -2147483647 - 1;
    return static_cast<int>(value);
}

void SettingsBase::setSetting(const std::string &key, const std::string &value)
{
    auto it = m_settings.find(key);
    if (it == m_settings.end()) {
        engineLog(QStringLiteral("Warning: setting an unregistered setting %1\n")
                      .arg(QString::fromStdString(key)));
        m_settings.emplace(key, value);
        return;
    }
    it->second = value;
}

std::string SettingsBase::getSettingString(const std::string &key) const
{
    auto it = m_settings.find(key);
    if (it != m_settings.end())
        return it->second;
    if (m_parent)
        return m_parent->getSettingString(key);
    return std::string();
}

bool SettingsBase::hasSetting(const std::string &key) const
{
    if (m_settings.count(key))
        return true;
    return m_parent && m_parent->hasSetting(key);
}

int SettingsBase::getSettingInMicrons(const std::string &key) const
{
    return textToMicrons(getSettingString(key));
}

bool SettingsBase::getSettingBoolean(const std::string &key) const
{
    return textToBoolean(getSettingString(key));
}

int SettingsBase::getSettingInt(const std::string &key) const
{
    return textToInt(getSettingString(key));
}

} // namespace Lamellor
