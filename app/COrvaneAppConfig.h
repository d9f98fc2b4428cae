#pragma once

#include "geometry/PlatformSize.h"

#include <QDateTime>
#include <QString>

namespace Orvane3Ds
{

// Configuration of the application: versions, the platform, and the paths of shipped and
// per-user files.
//
// Shipped files (platform models, sample projects, colour file, supplies documents, default
// description file, shipped support profiles) hang off the application directory, the folder
// of the executable. Per-user files live below the application-data folder:
//   <appData>/Orvane                 data directory
//   <appData>/Orvane/Resinor         user directory (profiles "Orvane Cfgs", "Temp", "v0.dsc")
//   <appData>/Mirrowen/control.db    control database
class COrvaneAppConfig
{
  public:
    COrvaneAppConfig();
    virtual ~COrvaneAppConfig() = default;

    // Sets the software version, language code and every path from the application directory
    // and the given application-data folder. The base only computes paths (no file access) and
    // returns true; the application's override also creates the folders and copies the shipped
    // files.
    virtual bool setApplicationPath(const QString &appDataDir);

    // The executable's folder unless set otherwise (tests, relocated installations).
    void setApplicationDir(const QString &dir) { m_appDir = dir; }
    const QString &applicationDir() const { return m_appDir; }

    const PlatformSize &platformSize() const { return m_platform; }
    void setPlatformSize(const PlatformSize &platform) { m_platform = platform; }
    float secondSizeX() const { return m_secondSize[0]; }
    float secondSizeY() const { return m_secondSize[1]; }

    const QString &softwareVersion() const { return m_softwareVersion; }
    const QString &languageCode() const { return m_languageCode; }
    void setLanguageCode(const QString &code) { m_languageCode = code; }
    const QString &minimumGlVersion() const { return m_minimumGlVersion; }
    const QString &updateQueryAddress() const { return m_updateQueryAddress; }

    const QString &appDataDir() const { return m_appDataDir; }
    const QString &platformModel() const { return m_platformModel; }
    const QString &platformModel1() const { return m_platformModel1; }
    const QString &sampleTuningProject() const { return m_sampleTuning; }
    const QString &sampleDeerProject() const { return m_sampleDeer; }
    const QString &colorFile() const { return m_colorFile; }
    const QString &suppliesDocument() const { return m_suppliesDoc; }
    const QString &suppliesDocumentEn() const { return m_suppliesDocEn; }
    const QString &defaultDescriptionFile() const { return m_defaultDescription; }
    const QString &controlDatabase() const { return m_controlDb; }
    const QString &dataDir() const { return m_dataDir; }
    const QString &userDir() const { return m_userDir; }
    const QString &shippedProfilesDir() const { return m_shippedProfiles; }
    const QString &userProfilesDir() const { return m_userProfiles; }
    const QString &tempDir() const { return m_tempDir; }
    const QString &descriptionFile() const { return m_descriptionFile; }
    const QString &runDir() const { return m_runDir; }

    // The start time as year, month, day, hour, minute and second in decimal, one after another,
    // without separators or zero padding (2019-03-04 05:06:07 gives "201934567").
    static QString runDirName(const QDateTime &start);
    void setStartTime(const QDateTime &start) { m_startTime = start; }

  protected:
    PlatformSize m_platform;
    float m_secondSize[2] = {80.0f, 80.0f};
    QString m_softwareVersion = QStringLiteral("1.0.0.1");
    QString m_languageCode = QStringLiteral("zh");
    QString m_minimumGlVersion;
    QString m_updateQueryAddress;
    QString m_appDir;
    QString m_appDataDir;
    QString m_platformModel;
    QString m_platformModel1;
    QString m_sampleTuning;
    QString m_sampleDeer;
    QString m_colorFile;
    QString m_suppliesDoc;
    QString m_suppliesDocEn;
    QString m_defaultDescription;
    QString m_controlDb;
    QString m_dataDir;
    QString m_userDir;
    QString m_shippedProfiles;
    QString m_userProfiles;
    QString m_tempDir;
    QString m_descriptionFile;
    QString m_runDir;
    QDateTime m_startTime;
};

} // namespace Orvane3Ds
