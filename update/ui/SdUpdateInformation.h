#pragma once

#include <QDialog>
#include <QPoint>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextBrowser;
class QToolButton;

// The about/update dialog: the about texts, the current version, the automatic-check box
// ("enableCheckNewVersion"), the change log link (opened in the web browser) and the update
// button that starts the updater program. Frameless; dragged with the left mouse button.
class SdUpdateInformation : public QDialog
{
    Q_OBJECT
  public:
    // name, version, language: what the updater program is started with.
    SdUpdateInformation(const QString &name, const QString &version, const QString &language,
                        QWidget *parent = nullptr);

    // Opens a URL in the system's web browser; tests record the call instead.
    using UrlOpener = std::function<bool(const QString &url)>;
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // Reads the settings into the dialog and runs it modally.
    int showAndRun();
    // Reads the settings into the dialog (the first step of showAndRun()).
    void refresh();

    QCheckBox *autoCheckBox() const { return m_cbAutoDetect; }
    QPushButton *changeLogButton() const { return m_pbChangeLog; }
    QPushButton *updateButton() const { return m_pbUpdate; }
    QLabel *versionLabel() const { return m_lVersion; }
    QLabel *statusLabel() const { return m_lStatus; }
    QTextBrowser *aboutView() const { return m_about; }

  public slots:
    void onUpdate();
    void onOnlineChangeLog();
    void onClose();
    void onOnOffAutoDetect(bool f);

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void retranslate();
    bool serviceConfigured();

    QString m_name;
    QString m_version;
    QString m_language;
    UrlOpener m_openUrl;
    QLabel *m_lTitle = nullptr;
    QToolButton *m_pbClose = nullptr;
    QTextBrowser *m_about = nullptr;
    QLabel *m_lVersion = nullptr;
    QLabel *m_lChangeLog = nullptr;
    QLabel *m_lOnlineUpdate = nullptr;
    QLabel *m_lStatus = nullptr;
    QPushButton *m_pbChangeLog = nullptr;
    QPushButton *m_pbUpdate = nullptr;
    QCheckBox *m_cbAutoDetect = nullptr;
    bool m_dragging = false;
    QPoint m_pressOffset;
};
