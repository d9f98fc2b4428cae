#include "maintenance/ui/DeviceDetailsOpener.h"

#include "maintenance/ui/DlpDeviceDetails.h"
#include "network/ui/DlpDeviceManager.h"

void registerDeviceDetailsDialog()
{
    DlpDeviceManager::setDetailsOpener([](NetClientCmd *printer, DlpDeviceManager *manager) {
        DlpDeviceDetails dialog(manager);
        QObject::connect(&dialog, &DlpDeviceDetails::sUpload, manager, &DlpDeviceManager::sUpload);
        dialog.openFor(printer);
    });
}
