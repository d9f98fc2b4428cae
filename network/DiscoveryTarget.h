#pragma once

#include <QString>

// Where the discovery question goes. The program's default is the IPv4 limited broadcast
// address; tests, benchmarks and users with simulated printers point it elsewhere (a loopback
// broadcast such as 127.255.255.255 or one printer's unicast address).
//
// Sources, strongest first: the command-line option "--discovery-target ADDR", the environment
// variable RESINOR_DISCOVERY_TARGET, the settings key "network/discoveryTarget", the default.
struct DiscoveryTarget {
    QString address; // dotted IPv4 text; empty when the chosen value is not an IPv4 address
    QString source;  // "option", "environment", "settings" or "default"
    QString error;   // why the chosen value was refused
    bool isValid() const { return !address.isEmpty(); }
};

// The built-in target when nothing else is given.
QString defaultDiscoveryTarget();

// Records the value of "--discovery-target" for the whole process (the window's and the verbs'
// command line).
void setDiscoveryTargetOption(const QString &address);
QString discoveryTargetOption();

// Removes "--discovery-target ADDR" (or "--discovery-target=ADDR") from argv, records it with
// setDiscoveryTargetOption() and returns true when found. A missing value leaves the option in
// place so that the caller reports it as a usage error. argc is updated.
bool takeDiscoveryTargetOption(int *argc, char **argv);

// Picks the target by the order above; a value that is not an IPv4 address is refused (no
// fallback to a weaker source: the user asked for something else than the broadcast).
DiscoveryTarget resolveDiscoveryTarget();

// The local UDP port the discovery socket binds to: 7777, or RESINOR_DISCOVERY_PORT when set
// (0 = any free port, for running beside another instance that holds 7777).
quint16 discoveryBindPort();
