#pragma once

#include "ui/CBaseWindow.h"

#include "app/DlpOrvaneApp.h"

#include <memory>

class DlpClipZWidget;
class DlpGlCamareWidget;
class DlpMainWindow;
class DlpMenuBar;
class GLBox;

namespace Orvane3Ds
{
class DRenderHost;
class IGlApplication;
} // namespace Orvane3Ds

// The program's top-level window: the frameless shell around the inner main window, owner of
// the central application object. Closing it ends the process (after asking to save models).
class CDlpMainWindow : public CBaseWindow
{
    Q_OBJECT
  public:
    // `arguments` are the process arguments without the program name; the first one may name a
    // part (.stl, .obj) or project (.vxpj, .orvane) to open. `appDataDir` is the per-user
    // application-data folder (empty: the system's; tests pass their own); `applicationDir` the
    // folder of the shipped files (empty: the executable's).
    explicit CDlpMainWindow(const QStringList &arguments = {}, QWidget *parent = nullptr,
                            const QString &appDataDir = QString(),
                            const QString &applicationDir = QString());
    ~CDlpMainWindow() override;

    DlpOrvaneApp *app() { return &m_app; }
    DlpMainWindow *mainWindow() const { return m_mainWindow; }
    GLBox *glBox() const { return m_glBox; }
    Orvane3Ds::DRenderHost *renderHost() const { return m_host.get(); }
    DlpClipZWidget *clipWidget() const { return m_clip; }
    DlpGlCamareWidget *cameraButtons() const { return m_camera; }
    DlpMenuBar *dlpMenuBar() const { return m_menuBar; }
    QString language() const { return m_language; }

    // Opens the file named on the command line by its suffix: parts (.stl, .obj, .slc) and
    // projects (.vxpj, .orvane). Any other file is not opened, and the user is told so.
    void openStartupFile(const QString &path);

  public slots:
    void updateClipZTotal();
    void onShowManuSupportUI();
    void onchangeLanguage();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void onAppEvent(Orvane3Ds::EAppEvent event, const QString &text);
    void tellStartupNote(const QString &note);
    // Cancels the jobs still running and waits for them, before the program ends.
    void endJobs();

    // First member: everything else of the window uses it.
    DlpOrvaneApp m_app;
    std::unique_ptr<Orvane3Ds::DRenderHost> m_host;
    // What the view calls: forwards to m_host, and to nothing once the host is gone.
    std::unique_ptr<Orvane3Ds::IGlApplication> m_viewEntry;
    GLBox *m_glBox = nullptr;
    DlpGlCamareWidget *m_camera = nullptr;
    DlpClipZWidget *m_clip = nullptr;
    DlpMainWindow *m_mainWindow = nullptr;
    DlpMenuBar *m_menuBar = nullptr;
    QString m_language;
    // Start-up arguments that could not be used, told to the user once the window is shown.
    QStringList m_startupNotes;
};

// Makes CDlpMainWindow the window the application context creates at start-up, with the
// arguments of the command line ("--platform X,Y,Z" and the file; see windowArguments()). Call
// it from main() before the context is constructed.
void registerDlpMainWindow(const QStringList &arguments);
