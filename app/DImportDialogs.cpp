#include "app/DImportDialogs.h"

#include "io/DModelIoManager.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace DImportDialogs
{

void waitForLoad(DModelIoManager &manager)
{
    if (!manager.isLoading())
        return;
    QEventLoop loop;
    QObject::connect(&manager, &DModelIoManager::loadFinished, &loop, &QEventLoop::quit);
    // The load may have ended between the check and the connection.
    if (manager.isLoading())
        loop.exec();
}

QStringList importParts(DModelIoManager &manager)
{
    QSettings settings;
    const QString folder = settings.value(QStringLiteral("path/ImportPartsPath")).toString();
    const QStringList files = QFileDialog::getOpenFileNames(
        nullptr, QCoreApplication::translate("DModelIoManager", "3D Model Files..."), folder,
        QStringLiteral("Model Files (*.stl *.obj *.slc)"));
    if (files.isEmpty())
        return {};
    settings.setValue(QStringLiteral("path/ImportPartsPath"),
                      QFileInfo(files.first()).absolutePath());
    manager.importParts(files);
    waitForLoad(manager);
    return files;
}

QString importProject(DModelIoManager &manager)
{
    QSettings settings;
    const QString folder = settings.value(QStringLiteral("path/ImportProjectPath")).toString();
    const QString file = QFileDialog::getOpenFileName(
        nullptr, QCoreApplication::translate("DModelIoManager", "3D Model Files..."), folder,
        QStringLiteral("Project Files (*.vxpj)"));
    if (file.isEmpty())
        return {};
    settings.setValue(QStringLiteral("path/ImportProjectPath"), QFileInfo(file).absolutePath());
    manager.importProject(file);
    waitForLoad(manager);
    return file;
}

} // namespace DImportDialogs
