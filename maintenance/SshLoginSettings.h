#pragma once

#include <QString>

class dsshsession;

// How the printers' controllers are logged into. The defaults are the controllers' own
// account; a printer whose owner changed them is reached through the settings
// "ssh/user", "ssh/password", "ssh/port", "ssh/identityFile" (a private key file, tried
// before the password) and "ssh/hostKeyFile" (where trusted host keys are kept).
struct SshLoginSettings {
    QString user = QStringLiteral("pi");
    QString password = QStringLiteral("MoraveLinkP7");
    quint16 port = 22;
    QString identityFile;
    QString hostKeyFile;

    // Reads the per-user settings (missing keys keep the defaults).
    static SshLoginSettings load();
    // The default place of the trusted host keys, in the application's data folder.
    static QString defaultHostKeyFile();

    // Puts port, key file and host key file into the session's parameters; user and password
    // go to dsshsession::connect().
    void applyTo(dsshsession *session) const;
};
