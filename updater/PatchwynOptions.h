#pragma once

#include <QString>
#include <QStringList>

// The updater's command line: "--name", "--version", "--url" (required), "--language"
// (default "zh") and "--mode" ("ui" or "cmd", compared in lower case; default "ui").
struct PatchwynOptions {
    QString name;
    QString version;
    QString url;
    QString language = QStringLiteral("zh");
    QString mode = QStringLiteral("ui");

    enum class Parse { Ok, Error, MissingRequired, Help };
    // Parses arguments (the program name first). On Error *message is the parser's error text,
    // on MissingRequired and Help the help text.
    static Parse parse(const QStringList &arguments, PatchwynOptions *out, QString *message);
};
