#include "ui/CDlpMainWindow.h"

#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpProccessBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

CDlpMainWindow::CDlpMainWindow(const QStringList &arguments, QWidget *parent) : CBaseWindow(parent)
{
    setObjectName(QStringLiteral("CDlpMainWindow"));
    setMinimumSize(960, 600);
    resize(1280, 800);

    m_mainWindow = new DlpMainWindow(app(), this);
    setContent(m_mainWindow);
    m_menuBar = new DlpMenuBar(m_mainWindow);
    m_mainWindow->setDlpMenuBar(m_menuBar);

    DlpProccessBar *progress = DlpProccessBar::instance();
    progress->setMainWindow(m_mainWindow);
    connect(progress, &DlpProccessBar::sCancelProcess, m_mainWindow,
            &DlpMainWindow::onCancelProcess);

    connect(this, &CBaseWindow::sExitApp, this, &QWidget::close);
    connect(m_mainWindow, &DlpMainWindow::sShowManuSupportUI, this,
            &CDlpMainWindow::onShowManuSupportUI);
    connect(m_mainWindow, &DlpMainWindow::schangeLanguage, this, &CDlpMainWindow::onchangeLanguage);

    titleMenu()->addAction(m_menuBar->action(QStringLiteral("Languages")));
    titleMenu()->addAction(m_menuBar->action(QStringLiteral("aboutSoft")));

    if (!arguments.isEmpty()) {
        openStartupFile(arguments.first());
    }
    onchangeLanguage();
}

CDlpMainWindow::~CDlpMainWindow() = default;

DlpOrvaneApp *CDlpMainWindow::app() const
{
    return m_app;
}

void CDlpMainWindow::openStartupFile(const QString &path)
{
    qDebug() << "start-up file:" << QFileInfo(path).fileName();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("stl") || suffix == QLatin1String("obj") ||
        suffix == QLatin1String("vxpj") || suffix == QLatin1String("orvane")) {
        m_mainWindow->openFiles({path});
    }
}

void CDlpMainWindow::updateClipZTotal() {}

void CDlpMainWindow::onShowManuSupportUI() {}

void CDlpMainWindow::onchangeLanguage()
{
    m_language = QSettings().value("softLang").toString();
    setTitle(tr("OrvaneCorp"));
    retranslateTitleBar();
    m_mainWindow->retranslate();
    DlpProccessBar::instance()->retranslate();
}

void CDlpMainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_mainWindow->sceneHasModels()) {
        event->accept();
        QCoreApplication::exit(0);
        return;
    }
    QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("saveModel?"), QMessageBox::NoButton, this);
    QPushButton *yes = box.addButton(tr("yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(tr("no"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(tr("cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == no) {
        event->accept();
        QCoreApplication::exit(0);
        return;
    }
    // Leaving without the project written would lose the user's work: only close once the
    // save went through.
    if (box.clickedButton() == yes && m_mainWindow->runSceneExport()) {
        event->accept();
        QCoreApplication::exit(0);
        return;
    }
    event->ignore();
}

void registerDlpMainWindow() {}
