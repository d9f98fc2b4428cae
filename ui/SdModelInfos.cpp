#include "ui/SdModelInfos.h"

#include "app/DSharedApp.h"
#include "geometry/Model.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
const QString kSubscriber = QStringLiteral("SdModelInfos");
}

SdModelInfos::SdModelInfos(DSharedApp *app, QWidget *parent) : QFrame(parent), m_app(app)
{
    setObjectName(QStringLiteral("SdModelInfos"));
    setStyleSheet(QStringLiteral("SdModelInfos{background:#ffffff;border:1px solid #d0d4da;}"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("modelTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setStyleSheet(QStringLiteral("selection-background-color:#6fd2ff;"));
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_table);
    connect(m_table, &QTableWidget::cellClicked, this, &SdModelInfos::tableWidgetClicked);
    if (m_app)
        m_app->subscribe(kSubscriber, [this](Orvane3Ds::EAppEvent e, const QString &) {
            if (e == Orvane3Ds::SceneChanged && isVisible())
                updateModelInfoList();
        });
    resize(560, 240);
    retranslate();
}

SdModelInfos::~SdModelInfos()
{
    if (m_app)
        m_app->events().unsubscribe(kSubscriber);
}

void SdModelInfos::retranslate()
{
    m_table->setHorizontalHeaderLabels(
        {tr("fileName"), tr("size"), tr("volume"), tr("NumberOfTrangle"), tr("NumberOfPoints")});
}

void SdModelInfos::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void SdModelInfos::showWin()
{
    updateModelInfoList();
    raise();
    show();
}

void SdModelInfos::updateModelInfoList()
{
    m_table->setRowCount(0);
    if (!m_app)
        return;
    int row = 0;
    for (const auto &model : m_app->scene().models()) {
        model->recomputeBounds();
        const Vec3f e = model->extent();
        m_table->insertRow(row);
        const QStringList cells{model->name(),
                                QStringLiteral("%1*%2*%3")
                                    .arg(QString::number(e.x, 'f', 2), QString::number(e.y, 'f', 2),
                                         QString::number(e.z, 'f', 2)),
                                QString::number(model->volume() / 1000.0, 'f', 2),
                                QString::number(model->triangleCount()),
                                QString::number(model->pointCount())};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(row, c, new QTableWidgetItem(cells[c]));
        ++row;
    }
    m_table->resizeColumnsToContents();
}

void SdModelInfos::tableWidgetClicked(int row, int)
{
    if (!m_app || !m_table->item(row, 0))
        return;
    const QString name = m_table->item(row, 0)->text();
    DScene &scene = m_app->scene();
    scene.clearSelection();
    for (const auto &model : scene.models())
        if (model->name() == name) {
            scene.select(model);
            break;
        }
    m_app->refreshSceneState();
    m_app->requestRepaint();
}
