#include "render/DlpClipZWidget.h"

#include "geometry/DModelOperator.h"

#include <QLabel>
#include <QMetaObject>
#include <QSlider>

#include <limits>

namespace
{
constexpr int SliderWidth = 20;
constexpr int SliderHeight = 450;
constexpr int LabelWidth = 50;
constexpr int LabelHeight = 20;
// Clip height at slider 0: above anything in the scene, whatever its height.
constexpr float NothingCut = std::numeric_limits<float>::max();
} // namespace

DlpClipZWidget::DlpClipZWidget(Hooks hooks, QWidget *parent)
    : QWidget(parent), m_hooks(std::move(hooks))
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setFixedSize(100, 500);
    m_slider = new QSlider(Qt::Vertical, this);
    m_slider->setGeometry(LabelWidth + 5, 0, SliderWidth, SliderHeight);
    m_slider->setRange(0, 1);
    m_slider->setValue(0);
    m_slider->setStyleSheet(
        QStringLiteral("QSlider::groove:vertical{background:white;width:5px;border-radius:1px;}"
                       "QSlider::sub-page:vertical{background:white;border-radius:1px;}"
                       "QSlider::add-page:vertical{background:qlineargradient(x1:0,y1:0,x2:0,y2:1,"
                       "stop:0 #5DCCFF,stop:1 #1874CD);border-radius:1px;}"
                       "QSlider::handle:vertical{background:#475155;height:20px;margin:0 -8px;"
                       "border-radius:5px;}"));
    m_label = new QLabel(this);
    m_label->setFixedSize(LabelWidth, LabelHeight);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setStyleSheet(QStringLiteral("background:transparent;"));
    m_label->hide();
    connect(m_slider, &QSlider::valueChanged, this, &DlpClipZWidget::zValueChanged);
    if (m_hooks.setUpCut)
        m_hooks.setUpCut(true);
}

int DlpClipZWidget::stepsForTop(float topZ)
{
    if (!(topZ > 0.0f))
        return 0;
    return DModelOperator::layerCount(topZ, 0.1f);
}

void DlpClipZWidget::setTotal(int n)
{
    m_slider->setRange(0, n);
    const bool upCut = m_hooks.upCut ? m_hooks.upCut() : true;
    if (m_slider->value() == 0) {
        if (m_hooks.setClipZ)
            m_hooks.setClipZ(upCut ? NothingCut : 0.0f);
    } else {
        QMetaObject::invokeMethod(this, "updateLabelInfo", Qt::QueuedConnection,
                                  Q_ARG(int, m_slider->value()));
    }
}

void DlpClipZWidget::zValueChanged(int value)
{
    if (value > 0) {
        updateLabelInfo(value);
        m_slider->setValue(value);
        if (m_hooks.setClipZ)
            m_hooks.setClipZ(value * 0.1f + 0.01f);
        if (m_hooks.updatePaint)
            m_hooks.updatePaint();
        return;
    }
    m_label->hide();
    const bool upCut = m_hooks.upCut ? m_hooks.upCut() : true;
    if (m_hooks.setClipZ)
        m_hooks.setClipZ(upCut ? NothingCut : 0.0f);
    // The view shows the whole scene again, so it is redrawn as well.
    if (m_hooks.updatePaint)
        m_hooks.updatePaint();
}

void DlpClipZWidget::updateLabelInfo(int value)
{
    m_label->setText(QString::number(value));
    const int range = m_slider->maximum() - m_slider->minimum();
    const int y = range > 0 ? SliderHeight - value * (SliderHeight - LabelHeight) / range + 1 : 0;
    m_label->move(0, y);
    m_label->show();
}
