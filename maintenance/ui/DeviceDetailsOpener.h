#pragma once

// Makes the printer management window's double click open the maintenance dialog
// (DlpDeviceDetails) of the printer, relaying the dialog's upgrade package to the window's
// sUpload. Called once at start-up.
void registerDeviceDetailsDialog();
