#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// Where the update services are and how the updater program is started.
//
// One base address serves both services: the main program's form endpoint
// "<base>/orvane3DsoftwareDLP/", the updater program's "<base>/update/" and the change log page
// "<base>/changelog?name=<program>". The base comes from the command line (--update-url), else
// the environment variable RESINOR_UPDATE_URL, else the setting "update/serviceUrl"; there is
// no built-in default, so an unconfigured program contacts nothing.
namespace UpdateService
{

// The --update-url value of this run (empty: none given).
void setCommandLineAddress(const QString &base);
// The configured base address without a trailing '/', empty when none is configured.
QString baseAddress();
QString queryEndpoint(const QString &base);
QString updaterUrl(const QString &base);
QString changeLogUrl(const QString &base, const QString &programName);

// The updater program beside the running one ("Patchwyn.exe" on Windows, "Patchwyn" elsewhere).
QString updaterProgramPath();
// "--name", name, "--version", version, "--url", updaterUrl(base), "--language", language and,
// for the automatic check, "--mode", "cmd".
QStringList updaterArguments(const QString &name, const QString &version, const QString &base,
                             const QString &language, bool commandMode);
// Starts the updater program detached. False, with a reason in *error, when no service is
// configured or the program cannot be started.
// Replaces how the updater process is started (tests record the call instead); an empty
// function restores the detached start.
using Starter = std::function<bool(const QString &program, const QStringList &args)>;
void setStarter(Starter starter);
bool startUpdater(const QString &name, const QString &version, const QString &language,
                  bool commandMode, QString *error);

// The automatic check of a program start: 3000 ms from now (a coarse timer owned by `owner`,
// the central application object) the updater is started once in "cmd" mode. Call it only when
// "enableCheckNewVersion" is on.
void scheduleAutomaticCheck(QObject *owner, const QString &name, const QString &version,
                            const QString &language);

} // namespace UpdateService
