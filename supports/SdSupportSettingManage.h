#pragma once

#include "geometry/SupportParameters.h"

#include <QString>

// Receives the support parameters of a loaded profile (the support application object).
class ISupportParameterSink
{
  public:
    virtual ~ISupportParameterSink() = default;
    virtual void setSupportParameters(const SupportParameters &params) = 0;
};

// Loads support profiles into a parameter record and hands it to the support application.
// The base loads nothing; DDlpSupportSettingManage reads the INI profiles.
class SdSupportSettingManage
{
  public:
    virtual ~SdSupportSettingManage() = default;

    // Loads the profile `fileName` of the profile directory. True when it was read and every
    // check passed; the record is then replaced and pushed. False leaves the record unchanged.
    virtual bool loadProfile(const QString &fileName);
    virtual void setSupportApp(ISupportParameterSink *app);
    // Pushes the record to the support application (when one is set).
    virtual void pushParameters();
    virtual bool checkValue(const QString &value, bool allowEmpty) const;

    const SupportParameters &parameters() const { return m_parameters; }
    // Why the last load failed (names the key and the value).
    QString errorString() const { return m_error; }

  protected:
    ISupportParameterSink *m_app = nullptr;
    SupportParameters m_parameters;
    QString m_error;
};
