#include "network/ui/GraphicsItem.h"

#include "network/ui/DlpDeviceInfoUI.h"

#include <QGraphicsSceneHoverEvent>

GraphicsItem::GraphicsItem(DlpDeviceInfoUI *card, QGraphicsItem *parent)
    : QGraphicsProxyWidget(parent, Qt::FramelessWindowHint), m_card(card), m_timeLine(150)
{
    setWidget(card);
    setAcceptHoverEvents(true);
    setCacheMode(DeviceCoordinateCache);
    m_timeLine.setUpdateInterval(15);
    connect(&m_timeLine, &QTimeLine::valueChanged, this, [this](qreal v) { updateStep(v); });
    connect(&m_timeLine, &QTimeLine::stateChanged, this,
            [this](QTimeLine::State s) { stateChanged(s); });
}

QRectF GraphicsItem::boundingRect() const
{
    return QGraphicsProxyWidget::boundingRect().adjusted(0, 0, 10, 10);
}

void GraphicsItem::updateStep(double step)
{
    const QRectF r = QGraphicsProxyWidget::boundingRect();
    const qreal scale = 1.0 + 0.2 * step;
    QTransform t;
    t.translate(r.width() / 2, r.height() / 2);
    t.scale(scale, scale);
    t.translate(-r.width() / 2, -r.height() / 2);
    setTransform(t);
}

void GraphicsItem::stateChanged(QTimeLine::State state)
{
    setCacheMode(state == QTimeLine::Running ? ItemCoordinateCache : DeviceCoordinateCache);
}

void GraphicsItem::zoomIn()
{
    setZValue(1);
    m_timeLine.setDirection(QTimeLine::Forward);
    if (m_timeLine.state() != QTimeLine::Running)
        m_timeLine.start();
    m_card->setHighlighted(true);
}

void GraphicsItem::zoomOut()
{
    setZValue(0);
    m_timeLine.setDirection(QTimeLine::Backward);
    if (m_timeLine.state() != QTimeLine::Running)
        m_timeLine.start();
    m_card->setHighlighted(false);
}

void GraphicsItem::setPopupOpen(bool open)
{
    m_popupOpen = open;
    if (!open && !m_hovered)
        zoomOut();
}

void GraphicsItem::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    m_hovered = true;
    zoomIn();
    QGraphicsProxyWidget::hoverEnterEvent(event);
}

void GraphicsItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    m_hovered = false;
    if (!m_popupOpen)
        zoomOut();
    QGraphicsProxyWidget::hoverLeaveEvent(event);
}
