#include "supports/DDlpSupportSettingManage.h"

#include "supports/SupportProfiles.h"

#include <QDir>

DDlpSupportSettingManage::DDlpSupportSettingManage(const QString &profileDirectory)
    : m_directory(profileDirectory)
{
}

bool DDlpSupportSettingManage::loadProfile(const QString &fileName)
{
    m_error.clear();
    SupportParameters params = m_parameters;
    if (!loadSupportProfile(QDir(m_directory).filePath(fileName), &params, &m_error))
        return false;
    m_parameters = params;
    pushParameters();
    return true;
}
