#include "update/UpdateCheckCli.h"

#include "app/COrvaneAppConfig.h"
#include "update/DlpPCUpdater.h"
#include "update/UpdateService.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSettings>
#include <QStringList>

#include <cstdio>
#include <cstring>

bool takeUpdateUrlOption(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--update-url") != 0)
            continue;
        if (i + 1 >= argc)
            return false;
        UpdateService::setCommandLineAddress(QString::fromLocal8Bit(argv[i + 1]));
        for (int k = i; k + 2 <= argc; ++k)
            argv[k] = argv[k + 2];
        argc -= 2;
        --i;
    }
    return true;
}

int runUpdateCheckCommand(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same settings file the window reads ("update/serviceUrl").
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Resinor"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.removeAll(QStringLiteral("--verbose")) == 0)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int at = args.indexOf(QStringLiteral("--update-url"));
    if (at >= 0) {
        if (at + 1 >= args.size()) {
            std::fputs("Resinor: --update-url needs the service address\n", stderr);
            return 2;
        }
        UpdateService::setCommandLineAddress(args[at + 1]);
        args.removeAt(at);
        args.removeAt(at);
    }
    args.removeAll(QStringLiteral("--check-update"));
    if (!args.isEmpty()) {
        std::fprintf(stderr, "Resinor: --check-update takes only --update-url URL, not %s\n",
                     qPrintable(args.first()));
        return 2;
    }

    const QString current = Orvane3Ds::COrvaneAppConfig().softwareVersion();
    DlpPCUpdater updater(current);
    const HttpUpgrade::Result result =
        updater.checkVersion(QStringLiteral("windows_latestversion"), current);
    QJsonObject json;
    json.insert(QStringLiteral("current_version"), current);
    json.insert(QStringLiteral("service"), updater.endpoint());
    bool answered = result.first;
    if (result.first) {
        const QStringList found = result.second.toStringList();
        json.insert(QStringLiteral("new_version"), true);
        json.insert(QStringLiteral("offered_version"), found.value(0));
        json.insert(QStringLiteral("download_url"), found.value(2));
    } else {
        const QString message = result.second.toString();
        // "No new version" is an answer of the service, not a failed check.
        answered = message == QLatin1String("No new version to upgrade");
        json.insert(QStringLiteral("new_version"), false);
        json.insert(QStringLiteral("message"), message);
    }
    std::printf("%s\n", QJsonDocument(json).toJson(QJsonDocument::Compact).constData());
    return answered ? 0 : 1;
}
