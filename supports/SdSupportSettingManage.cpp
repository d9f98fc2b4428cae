#include "supports/SdSupportSettingManage.h"

#include "supports/SupportProfiles.h"

bool SdSupportSettingManage::loadProfile(const QString &)
{
    return false;
}

void SdSupportSettingManage::setSupportApp(ISupportParameterSink *app)
{
    m_app = app;
}

void SdSupportSettingManage::pushParameters()
{
    if (m_app)
        m_app->setSupportParameters(m_parameters);
}

bool SdSupportSettingManage::checkValue(const QString &value, bool allowEmpty) const
{
    return checkProfileValue(value, allowEmpty);
}
