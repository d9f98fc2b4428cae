#pragma once

#include "ui/CBaseWindow.h"

#include <memory>

class DlpMainWindow;
class DlpMenuBar;
class DlpOrvaneApp;

// The program's top-level window: the frameless shell around the inner main window, owner of
// the central application object. Closing it ends the process (after asking to save models).
class CDlpMainWindow : public CBaseWindow
{
    Q_OBJECT
  public:
    // `arguments` are the process arguments without the program name; the first one may name a
    // part (.stl, .obj) or project (.vxpj, .orvane) to open.
    explicit CDlpMainWindow(const QStringList &arguments = {}, QWidget *parent = nullptr);
    ~CDlpMainWindow() override;

    DlpOrvaneApp *app() const;
    DlpMainWindow *mainWindow() const { return m_mainWindow; }
    DlpMenuBar *dlpMenuBar() const { return m_menuBar; }
    QString language() const { return m_language; }

    // Opens the file named on the command line by its suffix; other suffixes are ignored.
    void openStartupFile(const QString &path);

  public slots:
    void updateClipZTotal();
    void onShowManuSupportUI();
    void onchangeLanguage();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    DlpOrvaneApp *m_app = nullptr;
    DlpMainWindow *m_mainWindow = nullptr;
    DlpMenuBar *m_menuBar = nullptr;
    QString m_language;
};

// Makes CDlpMainWindow the window the application context creates at start-up. Call it from
// main() before the context is constructed.
void registerDlpMainWindow();
