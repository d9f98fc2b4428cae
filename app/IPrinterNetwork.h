#pragma once

#include <QString>

// The printer network as the application object sees it. The network library provides it (the
// application layer cannot depend on that library) and the program installs a factory with
// DlpOrvaneApp::setPrinterNetworkFactory().
class IPrinterNetwork
{
  public:
    virtual ~IPrinterNetwork() = default;
    // Reports the known printers at once, then asks the network for printers.
    virtual void queryDevices() = 0;
    // Sends a print package to every printer this user holds for printing; returns how many.
    virtual int sendPrintPackage(const QString &path) = 0;
    // Sends a controller upgrade package to every printer chosen for an upgrade.
    virtual int sendUpgradePackage(const QString &path) = 0;
    // True when no printer has a transfer running.
    virtual bool isTransferIdle() const = 0;
};
