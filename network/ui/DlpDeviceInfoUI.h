#pragma once

#include "network/NetClientCmd.h"

#include <QMap>
#include <QPointer>
#include <QWidget>

class NetClientCmd;
class NetworkApp;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

// One printer card: the current job, print progress or upload progress, pause/continue and stop,
// and the radio button that takes the printer for this user (binary codes 13/14/15).
//
// Occupancy answers are asynchronous: a take, release or query sends its message and returns;
// the answer (code 14) is applied whenever it arrives, also after the wait has ended.
class DlpDeviceInfoUI : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 380;
    // How long a take or query waits for the printer's answer.
    static constexpr int kAnswerMs = 1000;

    DlpDeviceInfoUI(NetworkApp *network, QWidget *parent = nullptr);

    // Shows the printer and refreshes every label from its property record.
    void setPrinter(NetClientCmd *client);
    NetClientCmd *printer() const { return m_client; }

    // Sends the take (true) or release; false when the printer cannot be taken (software too
    // old or, for a printing printer, the user declined), in which case nothing is sent.
    bool requestSelection(bool check);
    // Asks the printer who holds it (code 13).
    void querySelection();
    // True while a take, release or query has not been answered within kAnswerMs.
    bool isWaiting() const { return m_waiting; }
    bool isSelected() const;

    void setHighlighted(bool on);
    bool isHighlighted() const { return m_highlighted; }
    QString warningText() const;
    // Shows a failed send on the card.
    void showSendFailure(const QString &reason);

    QRadioButton *radioButton() const { return m_radio; }
    QPushButton *pauseButton() const { return m_pause; }
    QPushButton *stopButton() const { return m_stop; }
    QProgressBar *progressBar() const { return m_progress; }
    QString labelText(const QString &key) const;

  public slots:
    void onParseCommand(NetClientCmd *client, QByteArray cmd);
    void onRadioButtonClicked(bool check);
    void onPauseOrContinue();
    void onStop();
    void onProgress(qulonglong percent);

  signals:
    // The occupancy answer arrived.
    void sSetOccupyed();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void refresh();
    void startWaiting();
    void applyHolder(const QString &holder);
    void placeButtons();

    NetworkApp *m_network;
    QPointer<NetClientCmd> m_client;
    QMetaObject::Connection m_listening;
    bool m_highlighted = false;
    bool m_waiting = false;
    QTimer *m_answerTimer;
    QRadioButton *m_radio;
    QMap<QString, QLabel *> m_labels;
    QProgressBar *m_progress;
    QLabel *m_progressText;
    QPushButton *m_pause;
    QPushButton *m_stop;
    QLabel *m_warning;
};
