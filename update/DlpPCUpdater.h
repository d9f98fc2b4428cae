#pragma once

#include "update/HttpUpgrade.h"

#include <functional>

class DSharedApp;

// In-program update of the main program: asks for "windows_latestversion", downloads the
// offered installer, lets the user keep unsaved work, starts the installer and ends the
// program. The last offered address is kept under "PC/upgradeUrl".
class DlpPCUpdater : public HttpUpgrade
{
    Q_OBJECT
  public:
    // Asks the user to end the program (the window's usual save question); true when the
    // program may end. Without one nothing is asked.
    using LeaveRequest = std::function<bool()>;
    using InstallerStarter = std::function<bool(const QString &path, QString *error)>;
    using EndProgram = std::function<void()>;

    // app gives the program version; it must outlive the updater.
    explicit DlpPCUpdater(DSharedApp *app, QObject *parent = nullptr);
    // Without an application object: checks against the given version (tests, headless check).
    explicit DlpPCUpdater(const QString &currentVersion, QObject *parent = nullptr);

    void setLeaveRequest(LeaveRequest leave) { m_leave = std::move(leave); }
    void setInstallerStarter(InstallerStarter start) { m_startInstaller = std::move(start); }
    void setEndProgram(EndProgram end) { m_end = std::move(end); }

    // (ok, "<title>:<text>") with title "tip" on success and "error" otherwise.
    Result check() override;

  public slots:
    void upgrade() override;

  private:
    void init();

    std::function<QString()> m_version;
    LeaveRequest m_leave;
    InstallerStarter m_startInstaller;
    EndProgram m_end;
};
