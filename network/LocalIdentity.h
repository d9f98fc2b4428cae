#pragma once

#include <QString>

// Who this application is to a printer: the identity sent in "authenticate" and in the hold
// (binary code 15), and compared with a printer's holder (code 14).
struct LocalIdentity {
    QString host;    // local host name
    QString address; // first non-loopback IPv4 address of the machine's interfaces, or empty
    QString user;    // last component of the home folder path

    // "host:address:user" with spaces and ':' inside the parts replaced (see identityPart).
    QString text() const;
};

// The identity of this process; the one address rule serves "authenticate" and the hold alike.
LocalIdentity localIdentity();
