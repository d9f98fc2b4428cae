#pragma once

#include "updater/queryer.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QTranslator>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QToolButton;

// The updater's dialog: asks the service for a newer version of the program, shows its change
// log, downloads the installer into the temporary folder, ends running instances of the
// program and starts the installer.
//
// States: 0 no new version, 1 new version offered, 2 downloading, 3 download finished.
class Patchwyn : public QDialog
{
    Q_OBJECT
  public:
    explicit Patchwyn(QWidget *parent = nullptr);

    // Stores the parameters, installs the translation of `language`, sets the texts and runs
    // the check: state 1 when a newer version is offered, else 0. Returns whether it was.
    bool setup(const QString &name, const QString &version, const QString &url,
               const QString &language);

    // (title, text) of an Ok/Cancel warning; true for Ok. Tests answer it themselves.
    using Question = std::function<bool(const QString &title, const QString &text)>;
    void setQuestion(Question question) { m_question = std::move(question); }
    // Where downloads go; the user's temporary folder unless set.
    void setDownloadFolder(const QString &folder) { m_folder = folder; }
    queryer *client() { return &m_client; }

    int state() const { return m_state; }
    QString offeredVersion() const { return m_offered; }
    QString downloadedFile() const { return m_file; }
    QLabel *infoLabel() const { return m_lInfo; }
    QTextEdit *logView() const { return m_teLog; }
    QPushButton *actionButton() const { return m_pbAction; }
    QPushButton *secondButton() const { return m_pbSecond; }
    QProgressBar *progressBar() const { return m_progress; }

    static QString greyStyle();
    static QString blueStyle();
    static QString secondStyle();

  public slots:
    bool onCheackNewVersion();
    void onUpdate();
    void onClose();
    void onShowInfo(QString msg);
    void onProgress(QString msg, qlonglong received, qlonglong total);
    void onFinished();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void setState(int state);
    void startDownload();
    void install();
    bool ask(const QString &title, const QString &text);
    void warn(const QString &title, const QString &text);

    QString m_name;
    QString m_version;
    QString m_url;
    QString m_language;
    QString m_offered;
    QString m_file;
    QString m_sha256;
    QString m_folder;
    int m_state = 0;
    bool m_keepInfo = false;
    queryer m_client;
    QTranslator m_translator;
    Question m_question;
    QLabel *m_lTitle = nullptr;
    QToolButton *m_pbCloseIcon = nullptr;
    QLabel *m_lTip = nullptr;
    QLabel *m_lInfo = nullptr;
    QTextEdit *m_teLog = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_pbAction = nullptr;
    QPushButton *m_pbSecond = nullptr;
    bool m_dragging = false;
    QPoint m_pressOffset;
};
