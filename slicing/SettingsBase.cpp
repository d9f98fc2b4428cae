#include "slicing/SettingsBase.h"

#include "slicing/EngineLog.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace Lamellor
{

// The leading decimal number of text, "." as the decimal point whatever the process locale
// says (strtod would read "0.05" as 0 under a comma-decimal locale); 0 when there is none.
double leadingNumber(const std::string &text)
{
    const char *p = text.c_str();
    const char *end = p + text.size();
    while (p < end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (p < end && *p == '+')
        ++p;
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(p, end, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large, or too small to be anything but zero (a negative exponent).
        const std::string number(p, r.ptr);
        const size_t e = number.find_first_of("eE");
        if (e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-')
            return 0.0;
        return (p < end && *p == '-') ? -HUGE_VAL : HUGE_VAL;
    }
    return r.ec == std::errc() ? value : 0.0;
}

int textToMicrons(const std::string &text)
{
    const double millimetres = leadingNumber(text);
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
