#pragma once

#include <QGraphicsProxyWidget>
#include <QTimeLine>

class DlpDeviceInfoUI;

// The scene item around one printer card: hover zooms the card by 20 % over 150 ms and
// highlights it. Cached as a device-coordinate pixmap except while the zoom runs.
class GraphicsItem : public QGraphicsProxyWidget
{
    Q_OBJECT
  public:
    explicit GraphicsItem(DlpDeviceInfoUI *card, QGraphicsItem *parent = nullptr);

    DlpDeviceInfoUI *card() const { return m_card; }
    QRectF boundingRect() const override;
    // A popup window of the card is open: leaving the item does not shrink it.
    void setPopupOpen(bool open);

  public slots:
    void updateStep(double step);
    void stateChanged(QTimeLine::State state);
    void zoomIn();
    void zoomOut();

  protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

  private:
    DlpDeviceInfoUI *m_card;
    QTimeLine m_timeLine;
    bool m_popupOpen = false;
    bool m_hovered = false;
};
