#pragma once

#include "network/DeviceInfos.h"

#include <QMap>
#include <QWidget>

#include <functional>

class DlpDeviceInfoUI;
class GraphicsItem;
class NetworkApp;
class QCheckBox;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QPushButton;
class QTimer;

// The printer panel: a grid of printer cards (4 per row, ordered by printer ID), select all,
// and the two send buttons. While visible it asks for a list refresh every refresh period
// (sQueryDevice), so that a printing job's progress moves on its own.
//
// Taking, querying and select-all ask every printer first and then wait once (at most
// DlpDeviceInfoUI::kAnswerMs), never one second per card; the window stays responsive.
class DlpDeviceScene : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 2000;
    // List updates arriving within this time are shown as one.
    static constexpr int kCoalesceMs = 50;

    explicit DlpDeviceScene(NetworkApp *network, QWidget *parent = nullptr);

    DlpDeviceInfoUI *card(const QString &id) const;
    GraphicsItem *item(const QString &id) const;
    // The cards in layout order (ascending ID).
    QList<DlpDeviceInfoUI *> cards() const;
    QGraphicsView *view() const { return m_view; }
    QCheckBox *selectAllBox() const { return m_selectAll; }
    QPushButton *sendSceneButton() const { return m_sendScene; }
    QPushButton *sendPackageButton() const { return m_sendPackage; }
    // True while a select-all or send check waits for answers.
    bool isBusy() const { return m_busy; }

  public slots:
    void onUpdateDeviceInfoUI(DeviceInfos listDevice);
    void onTransforVxprClick();
    void onTransforSceneClick();
    void onSelectAll(bool checked);

  signals:
    void sTransforScene();
    void sTransforVxpr();
    void sQueryDevice();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void layoutCards();
    void retranslate();
    // Runs ask on every card, then calls done once all answered or the answer time is over.
    void askAll(const std::function<void(DlpDeviceInfoUI *)> &ask,
                const std::function<void()> &done);
    void sendIfSelected(void (DlpDeviceScene::*signal)());

    NetworkApp *m_network;
    QGraphicsScene *m_scene;
    QGraphicsView *m_view;
    QMap<QString, GraphicsItem *> m_items;
    DeviceInfos m_devices;
    QCheckBox *m_selectAll;
    QPushButton *m_sendScene;
    QPushButton *m_sendPackage;
    QLabel *m_empty;
    QTimer *m_refresh;
    QTimer *m_coalesce;
    bool m_busy = false;
};
