#pragma once

#include <QPointer>
#include <QWidget>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window shown while a long job runs. One instance serves the whole process.
// report() may be called from any thread: it reaches the window and the main window only by
// queued calls, opens the window (and disables the main window) on the first report and ends it
// (re-enabling the main window) when the value passes 97.
class DlpProccessBar : public QWidget
{
    Q_OBJECT
  public:
    // The shared window, created on first use on the GUI thread.
    static DlpProccessBar *instance();

    // The window that is disabled while the progress window is open.
    void setMainWindow(QWidget *window);

    // Thread-safe progress entry: value in 0..100.
    void report(const QString &message, int value, bool cancelVisible);

    QString text() const;
    int value() const;
    bool isCancelVisible() const;
    QPushButton *cancelButton() const { return m_cancel; }

    void retranslate();

  signals:
    void sCancelProcess();

  public slots:
    void setCancelVisibel(bool visible);
    void setShowText(const QString &text);
    void setMaxValue(qulonglong max);
    void setCurValue(qulonglong value);
    void onProgress(const QString &msg, qulonglong value, qulonglong max);
    void begin();
    void end();

  protected:
    void changeEvent(QEvent *event) override;

  private:
    explicit DlpProccessBar(QWidget *parent = nullptr);

    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    QPointer<QWidget> m_mainWindow;
    qulonglong m_max = 0;
    qulonglong m_value = 0;
    // Whether the window is open or about to open; read by the reporting threads.
    std::atomic<bool> m_open{false};
};
