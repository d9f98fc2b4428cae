#pragma once

#include <QString>
#include <QStringList>

class DModelIoManager;

// The file dialogs of the import manager. Each remembers its folder in the settings, starts the
// load and waits (in a local event loop) until the manager reports loadFinished - the manager
// ends every load with it, also a failed or cancelled one.
namespace DImportDialogs
{

// "3D Model Files..." dialog, folder "path/ImportPartsPath", filter
// "Model Files (*.stl *.obj *.slc)". Returns the chosen files (empty when cancelled).
QStringList importParts(DModelIoManager &manager);

// Project dialog, folder "path/ImportProjectPath", filter "Project Files (*.vxpj)". Returns the
// chosen file (empty when cancelled).
QString importProject(DModelIoManager &manager);

// Waits until the manager's current load (if any) has ended.
void waitForLoad(DModelIoManager &manager);

} // namespace DImportDialogs
