#pragma once

#include "supports/SdSupportSettingManage.h"

// Reads support profiles from the profile directory.
class DDlpSupportSettingManage : public SdSupportSettingManage
{
  public:
    explicit DDlpSupportSettingManage(const QString &profileDirectory);

    bool loadProfile(const QString &fileName) override;

    const QString &profileDirectory() const { return m_directory; }

  private:
    QString m_directory;
};
