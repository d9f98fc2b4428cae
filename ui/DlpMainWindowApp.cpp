// The calls of DlpMainWindow that reach the central application object.
#include "ui/DlpMainWindow.h"

bool DlpMainWindow::sceneHasModels() const
{
    return false;
}

void DlpMainWindow::importParts(const QStringList &) {}

void DlpMainWindow::importPartsDialog() {}

void DlpMainWindow::importProjectDialog() {}

void DlpMainWindow::exportModelTo(const QString &) {}

bool DlpMainWindow::exportSceneTo(const QString &)
{
    return false;
}

bool DlpMainWindow::canExportScene() const
{
    return false;
}

void DlpMainWindow::exportPrintData() {}

void DlpMainWindow::cancelProcess() {}

void DlpMainWindow::dropFiles(const QStringList &) {}

void DlpMainWindow::requestRepaint() {}

void DlpMainWindow::onMouseEvent(QMouseEvent *) {}

void DlpMainWindow::onResizeEvent(int, int) {}

void DlpMainWindow::onWheelEvent(QWheelEvent *) {}

void DlpMainWindow::onKeyPressEvent(QKeyEvent *) {}
