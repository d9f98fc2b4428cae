#include "updater/PatchwynOptions.h"

#include <QCommandLineParser>

PatchwynOptions::Parse PatchwynOptions::parse(const QStringList &arguments, PatchwynOptions *out,
                                              QString *message)
{
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    // The texts given as value names are what the help shows; the descriptions stay empty.
    const QCommandLineOption name(QStringLiteral("name"), QString(),
                                  QStringLiteral("The name that program to be upgraded"));
    const QCommandLineOption version(
        QStringLiteral("version"), QString(),
        QStringLiteral("The current version that program to be upgraded"));
    const QCommandLineOption url(QStringLiteral("url"), QString(),
                                 QStringLiteral("The url that program to be upgraded "));
    const QCommandLineOption language(QStringLiteral("language"), QString(),
                                      QStringLiteral("The language that program to be upgraded "),
                                      QStringLiteral("zh"));
    const QCommandLineOption mode(QStringLiteral("mode"), QString(),
                                  QStringLiteral("The mode that program to be upgraded "),
                                  QStringLiteral("ui"));
    parser.addOptions({name, version, url, language, mode});
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return Parse::Error;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        return Parse::Help;
    }
    if (!parser.isSet(name) || !parser.isSet(url) || !parser.isSet(version)) {
        *message = parser.helpText();
        return Parse::MissingRequired;
    }
    out->name = parser.value(name);
    out->version = parser.value(version);
    out->url = parser.value(url);
    out->language = parser.value(language);
    out->mode = parser.value(mode).toLower();
    return Parse::Ok;
}
