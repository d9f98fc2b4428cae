// The calls of DlpMainWindow that reach the central application object.
#include "ui/DlpMainWindow.h"

#include "app/DlpOrvaneApp.h"
#include "io/DModelIoManager.h"
#include "render/InputEvent.h"

#include <QDebug>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSettings>
#include <QWheelEvent>

void DlpMainWindow::connectApp()
{
    if (!m_app) {
        return;
    }
    connect(m_app, &DSharedApp::importFailed, this, [this](const ImportFailures &failures) {
        QStringList lines;
        for (const ImportFailure &failure : failures) {
            lines << failure.displayText();
        }
        QMessageBox::warning(this, tr("Tip"), tr("loadFailed").arg(lines.join('\n')),
                             QMessageBox::Ok);
    });
    // A package is confirmed like the model and project saves.
    connect(m_app, &DlpOrvaneApp::vxprExported, this, [this](const QString &path) {
        QMessageBox::information(
            this, tr("Tip"), QStringLiteral("%1\n%2").arg(tr("saveSucess"), path), QMessageBox::Ok);
    });
}

bool DlpMainWindow::sceneHasModels() const
{
    return m_app && !m_app->scene().isEmpty();
}

void DlpMainWindow::importParts(const QStringList &files)
{
    if (m_app && !files.isEmpty()) {
        m_app->getImportManager()->importParts(files);
    }
}

QStringList DlpMainWindow::askOpenFileNames(const QString &title, const QString &dir,
                                            const QString &filter, bool several)
{
    if (m_openFileNames) {
        return m_openFileNames(title, dir, filter);
    }
    if (several) {
        return QFileDialog::getOpenFileNames(this, title, dir, filter);
    }
    const QString file = QFileDialog::getOpenFileName(this, title, dir, filter);
    return file.isEmpty() ? QStringList() : QStringList{file};
}

void DlpMainWindow::waitForLoad()
{
    std::shared_ptr<DModelIoManager> manager = m_app->getImportManager();
    if (!manager->isLoading()) {
        return;
    }
    // The dialog returns once the load has ended (the manager ends every load with
    // loadFinished, a failed or cancelled one too); the window stays painted meanwhile.
    QEventLoop loop;
    connect(manager.get(), &DModelIoManager::loadFinished, &loop, &QEventLoop::quit);
    if (manager->isLoading()) {
        loop.exec();
    }
}

void DlpMainWindow::importPartsDialog()
{
    if (!m_app) {
        return;
    }
    QSettings settings;
    const QStringList files = askOpenFileNames(tr("3D Model Files...", "open"),
                                               settings.value("path/ImportPartsPath").toString(),
                                               tr("Model Files (*.stl *.obj *.slc)"), true);
    if (files.isEmpty()) {
        return;
    }
    settings.setValue("path/ImportPartsPath", QFileInfo(files.first()).absolutePath());
    if (!m_app->getImportManager()->importParts(files)) {
        // One load at a time: these files are dropped, and the dialog waits for the other.
        qDebug() << "There is a Loading Thread is not finished";
    }
    waitForLoad();
}

void DlpMainWindow::importProjectDialog()
{
    if (!m_app) {
        return;
    }
    QSettings settings;
    const QString file = askOpenFileNames(tr("3D Model Files...", "open"),
                                          settings.value("path/ImportProjectPath").toString(),
                                          tr("Project Files (*.vxpj)"), false)
                             .value(0);
    if (file.isEmpty()) {
        return;
    }
    settings.setValue("path/ImportProjectPath", QFileInfo(file).absolutePath());
    if (!m_app->getImportManager()->importProject(file)) {
        qDebug() << "There is a Loading Thread is not finished";
    }
    waitForLoad();
}

QString DlpMainWindow::exportModelTo(const QString &file)
{
    if (!m_app) {
        return tr("noApplication");
    }
    QString error;
    return m_app->onExportModel(file, &error) ? QString() : error;
}

QString DlpMainWindow::exportSceneTo(const QString &file)
{
    if (!m_app) {
        return tr("noApplication");
    }
    QString error;
    return m_app->onExportScene(file, &error) ? QString() : error;
}

void DlpMainWindow::exportPrintData()
{
    if (m_app) {
        m_app->exportVxprInteractive(this);
    }
}

void DlpMainWindow::refreshDevices()
{
    if (m_app) {
        m_app->onQueryDeviceInfo();
    }
}

void DlpMainWindow::cancelProcess()
{
    if (m_app) {
        m_app->onCancelProcess();
    }
}

void DlpMainWindow::dropFiles(const QStringList &paths)
{
    if (m_app) {
        m_app->openDroppedFiles(paths);
    }
}

void DlpMainWindow::requestRepaint()
{
    if (m_app) {
        m_app->requestRepaint();
    }
}

namespace
{

InputEvent mouseRecord(const QMouseEvent *event, const QSize &size)
{
    InputEvent record;
    record.type = std::uint16_t(event->type());
    record.modifiers = std::uint32_t(event->modifiers());
    record.widgetWidth = size.width();
    record.widgetHeight = size.height();
    record.x = event->pos().x();
    record.y = event->pos().y();
    record.button = std::uint32_t(event->button());
    record.buttons = std::uint32_t(event->buttons());
    return record;
}

QSize senderSize(QObject *sender, const QWidget *fallback)
{
    if (auto *widget = qobject_cast<QWidget *>(sender)) {
        return widget->size();
    }
    return fallback->size();
}

} // namespace

void DlpMainWindow::forwardRecord(const void *record)
{
    if (m_eventSink) {
        m_eventSink(record);
    }
}

void DlpMainWindow::onMouseEvent(QMouseEvent *event)
{
    const InputEvent record = mouseRecord(event, senderSize(sender(), this));
    forwardRecord(&record);
}

void DlpMainWindow::onResizeEvent(int width, int height)
{
    ResizeEventRecord record;
    record.width = width;
    record.height = height;
    forwardRecord(&record);
}

void DlpMainWindow::onWheelEvent(QWheelEvent *event)
{
    const QSize size = senderSize(sender(), this);
    InputEvent record;
    record.type = std::uint16_t(event->type());
    record.modifiers = std::uint32_t(event->modifiers());
    record.widgetWidth = size.width();
    record.widgetHeight = size.height();
    record.x = event->position().toPoint().x();
    record.y = event->position().toPoint().y();
    record.buttons = std::uint32_t(event->buttons());
    record.delta = event->angleDelta().y();
    forwardRecord(&record);
}

void DlpMainWindow::onKeyPressEvent(QKeyEvent *event)
{
    const QSize size = senderSize(sender(), this);
    KeyEventRecord record;
    record.modifiers = std::uint32_t(event->modifiers());
    record.widgetWidth = size.width();
    record.widgetHeight = size.height();
    record.key = event->key();
    forwardRecord(&record);
}
