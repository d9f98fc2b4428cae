#include "network/ui/DlpDeviceScene.h"

#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "network/ui/DlpDeviceInfoUI.h"
#include "network/ui/GraphicsItem.h"

#include <QCheckBox>
#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

DlpDeviceScene::DlpDeviceScene(NetworkApp *network, QWidget *parent)
    : QWidget(parent), m_network(network), m_scene(new QGraphicsScene(this)),
      m_refresh(new QTimer(this)), m_coalesce(new QTimer(this))
{
    setObjectName(QStringLiteral("DlpDeviceScene"));
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    m_selectAll = new QCheckBox(this);
    m_selectAll->setObjectName(QStringLiteral("cbSelectAll"));
    m_sendScene = new QPushButton(this);
    m_sendScene->setObjectName(QStringLiteral("pbSceneUp"));
    m_sendPackage = new QPushButton(this);
    m_sendPackage->setObjectName(QStringLiteral("pbVxprUp"));
    bar->addWidget(m_selectAll);
    bar->addStretch();
    bar->addWidget(m_sendScene);
    bar->addWidget(m_sendPackage);
    layout->addLayout(bar);
    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("deviceView"));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(m_view);
    m_empty = new QLabel(m_view);
    m_empty->setObjectName(QStringLiteral("lbNoPrinter"));
    m_empty->setStyleSheet(QStringLiteral("color:#6b7280;font-size:16px;"));
    m_empty->move(20, 20);

    connect(m_selectAll, &QCheckBox::clicked, this, [this](bool c) { onSelectAll(c); });
    connect(m_sendScene, &QPushButton::clicked, this, [this] { onTransforSceneClick(); });
    connect(m_sendPackage, &QPushButton::clicked, this, [this] { onTransforVxprClick(); });
    connect(m_refresh, &QTimer::timeout, this, [this] { emit sQueryDevice(); });
    if (m_network) {
        // Every printer's "dev_infos" announces the whole list: a farm pushing layer after layer
        // would refresh every card for each of them. Updates within one period become one.
        m_coalesce->setSingleShot(true);
        connect(m_coalesce, &QTimer::timeout, this, [this] { onUpdateDeviceInfoUI(m_devices); });
        connect(m_network, &NetworkApp::updateDeviceList, this, [this](const DeviceInfos &list) {
            m_devices = list;
            if (!m_coalesce->isActive())
                m_coalesce->start(kCoalesceMs);
        });
        connect(m_network, &NetworkApp::sTransferFinished, this,
                [this](NetClientCmd *c, bool ok, const QString &error) {
                    if (ok)
                        return;
                    const QString name = c->get(QStringLiteral("Name"));
                    const QString ip = c->get(QStringLiteral("IP"));
                    if (DlpDeviceInfoUI *cardUi = card(c->get(QStringLiteral("ID"))))
                        cardUi->showSendFailure(error);
                    // Not modal: the other printers keep receiving meanwhile.
                    auto *box = new QMessageBox(QMessageBox::Warning, tr("Tip"),
                                                tr("sendFailedTo").arg(name, ip, error),
                                                QMessageBox::Ok, this);
                    box->setAttribute(Qt::WA_DeleteOnClose);
                    box->open();
                });
    }
    retranslate();
    onUpdateDeviceInfoUI(DeviceInfos());
}

DlpDeviceInfoUI *DlpDeviceScene::card(const QString &id) const
{
    GraphicsItem *it = m_items.value(id);
    return it ? it->card() : nullptr;
}

GraphicsItem *DlpDeviceScene::item(const QString &id) const
{
    return m_items.value(id);
}

QList<DlpDeviceInfoUI *> DlpDeviceScene::cards() const
{
    QList<DlpDeviceInfoUI *> out;
    for (GraphicsItem *it : m_items)
        out << it->card();
    return out;
}

void DlpDeviceScene::onUpdateDeviceInfoUI(DeviceInfos listDevice)
{
    m_devices = listDevice;
    if (!isVisible())
        return;
    bool changed = false;
    QSet<QString> seen;
    for (NetClientCmd *client : listDevice) {
        const QString id = client->get(QStringLiteral("ID")).simplified();
        if (id.isEmpty())
            continue;
        seen.insert(id);
        if (GraphicsItem *it = m_items.value(id)) {
            it->card()->setPrinter(client);
            continue;
        }
        auto *cardUi = new DlpDeviceInfoUI(m_network);
        cardUi->setPrinter(client);
        cardUi->setEnabled(true);
        auto *it = new GraphicsItem(cardUi);
        m_scene->addItem(it);
        m_items.insert(id, it);
        changed = true;
    }
    for (auto it = m_items.begin(); it != m_items.end();) {
        if (seen.contains(it.key())) {
            ++it;
            continue;
        }
        m_scene->removeItem(it.value());
        it.value()->deleteLater();
        it = m_items.erase(it);
        changed = true;
    }
    m_empty->setVisible(m_items.isEmpty());
    if (changed)
        layoutCards();
}

void DlpDeviceScene::layoutCards()
{
    int n = 0;
    for (GraphicsItem *it : m_items) { // QMap: ascending ID text
        it->setPos((n % 4) * DlpDeviceInfoUI::kWidth * 1.05,
                   (n / 4) * DlpDeviceInfoUI::kHeight * 1.05);
        ++n;
    }
    // Room for the zoom of a hovered card (20 % of its size) on every side.
    m_scene->setSceneRect(m_scene->itemsBoundingRect().adjusted(-40, -40, 40, 40));
}

void DlpDeviceScene::askAll(const std::function<void(DlpDeviceInfoUI *)> &ask,
                            const std::function<void()> &done)
{
    const QList<DlpDeviceInfoUI *> all = cards();
    auto pending = std::make_shared<QSet<DlpDeviceInfoUI *>>();
    auto finished = std::make_shared<bool>(false);
    auto timer = new QTimer(this);
    timer->setSingleShot(true);
    const auto finish = [this, finished, timer, done] {
        if (*finished)
            return;
        *finished = true;
        timer->stop();
        timer->deleteLater();
        m_busy = false;
        done();
    };
    m_busy = true;
    for (DlpDeviceInfoUI *c : all) {
        pending->insert(c);
        connect(c, &DlpDeviceInfoUI::sSetOccupyed, timer, [pending, c, finish] {
            pending->remove(c);
            if (pending->isEmpty())
                finish();
        });
    }
    connect(timer, &QTimer::timeout, this, finish);
    for (DlpDeviceInfoUI *c : all) {
        ask(c);
        if (!c->isWaiting())
            pending->remove(c); // nothing was sent (refused locally)
    }
    if (pending->isEmpty())
        finish();
    else
        timer->start(DlpDeviceInfoUI::kAnswerMs);
}

void DlpDeviceScene::onSelectAll(bool checked)
{
    if (m_busy)
        return;
    // First the takes (and releases), then one query of every card.
    askAll([checked](DlpDeviceInfoUI *c) { c->onRadioButtonClicked(checked); },
           [this, checked] {
               askAll([](DlpDeviceInfoUI *c) { c->querySelection(); },
                      [this, checked] {
                          bool any = false;
                          for (DlpDeviceInfoUI *c : cards())
                              any = any || c->isSelected();
                          if (checked && !any)
                              m_selectAll->setChecked(false);
                      });
           });
}

void DlpDeviceScene::sendIfSelected(void (DlpDeviceScene::*signal)())
{
    if (m_busy)
        return;
    askAll([](DlpDeviceInfoUI *c) { c->querySelection(); },
           [this, signal] {
               for (DlpDeviceInfoUI *c : cards()) {
                   if (c->isSelected()) {
                       emit(this->*signal)();
                       return;
                   }
               }
               QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("noDevice"),
                               QMessageBox::NoButton, this);
               box.addButton(tr("Ok"), QMessageBox::AcceptRole);
               box.exec();
           });
}

void DlpDeviceScene::onTransforVxprClick()
{
    sendIfSelected(&DlpDeviceScene::sTransforVxpr);
}

void DlpDeviceScene::onTransforSceneClick()
{
    sendIfSelected(&DlpDeviceScene::sTransforScene);
}

void DlpDeviceScene::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutCards();
}

void DlpDeviceScene::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    onUpdateDeviceInfoUI(m_devices);
    m_refresh->start(kRefreshMs);
}

void DlpDeviceScene::hideEvent(QHideEvent *event)
{
    m_refresh->stop();
    QWidget::hideEvent(event);
}

void DlpDeviceScene::retranslate()
{
    m_selectAll->setText(tr("selectAll"));
    m_sendScene->setText(tr("sceneUp"));
    m_sendPackage->setText(tr("vxprUp"));
    m_empty->setText(tr("noPrinterFound"));
    m_empty->adjustSize();
}

void DlpDeviceScene::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
