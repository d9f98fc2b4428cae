#include "network/ui/DlpDeviceManager.h"

#include "network/NetClientCmd.h"

#include <QDebug>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace
{

// Detail rows under each printer, in this order: property and label key.
const char *const kRows[][2] = {
    {"ID", QT_TRANSLATE_NOOP("DlpDeviceManager", "deviceID")},
    {"RPiA", QT_TRANSLATE_NOOP("DlpDeviceManager", "rpiAVersion")},
    {"DS", QT_TRANSLATE_NOOP("DlpDeviceManager", "deviceState")},
    {"IP", QT_TRANSLATE_NOOP("DlpDeviceManager", "deviceIP")},
    {"SS", QT_TRANSLATE_NOOP("DlpDeviceManager", "suppliesIsEnough")},
    {"supplies", QT_TRANSLATE_NOOP("DlpDeviceManager", "suppliesInfo")},
};

DlpDeviceManager::DetailsOpener &opener()
{
    static DlpDeviceManager::DetailsOpener o;
    return o;
}

} // namespace

void DlpDeviceManager::setDetailsOpener(DetailsOpener o)
{
    opener() = std::move(o);
}

DlpDeviceManager::DlpDeviceManager(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DlpDeviceManager"));
    resize(520, 420);
    auto *layout = new QVBoxLayout(this);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("deviceTree"));
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_model = new QStandardItemModel(this);
    m_tree->setModel(m_model);
    layout->addWidget(m_tree);
    m_menu = new QMenu(this);
    QAction *update = m_menu->addAction(QIcon(QStringLiteral(":/Image/update.png")), QString());
    update->setObjectName(QStringLiteral("actionUpdate"));
    // "update" refreshes the list: ask the printers again.
    connect(update, &QAction::triggered, this, [this] { emit sQueryDevice(); });
    connect(m_tree, &QTreeView::customContextMenuRequested, this,
            [this](const QPoint &pos) { onCustomContextMenuRequested(pos); });
    connect(m_tree, &QTreeView::doubleClicked, this,
            [this](const QModelIndex &index) { onDoubleClicked(index); });
    setWindowTitle(tr("deviceManageTitle"));
}

void DlpDeviceManager::onUpdateDeviceTree(DeviceInfos listDevice)
{
    m_devices = listDevice;
    if (isVisible())
        rebuild();
}

void DlpDeviceManager::rebuild()
{
    m_model->clear();
    m_byName.clear();
    qDebug() << "listdevice:" << m_devices.size();
    m_model->setHorizontalHeaderLabels({tr("deviceIndex"), tr("info")});
    auto *root = new QStandardItem(tr("deviceInfo"));
    m_model->appendRow({root, new QStandardItem(tr("infoDeclare"))});
    for (NetClientCmd *c : qAsConst(m_devices)) {
        const QString name = c->get(QStringLiteral("Name"));
        if (name.isEmpty())
            continue;
        m_byName.insert(name, c);
        auto *row = new QStandardItem(tr("deviceName"));
        row->setData(1, Qt::UserRole + 1);
        auto *value = new QStandardItem(name);
        value->setData(1, Qt::UserRole + 1);
        for (const auto &r : kRows)
            row->appendRow(
                {new QStandardItem(tr(r[1])), new QStandardItem(c->get(QLatin1String(r[0])))});
        root->appendRow({row, value});
    }
    m_tree->expand(root->index());
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

void DlpDeviceManager::onCustomContextMenuRequested(QPoint pos)
{
    const QModelIndex index = m_tree->indexAt(pos);
    if (!index.isValid() || index.data(Qt::UserRole + 1).toInt() != 1)
        return;
    m_menu->actions().first()->setText(tr("update"));
    m_menu->popup(m_tree->viewport()->mapToGlobal(pos));
}

void DlpDeviceManager::onDoubleClicked(QModelIndex index)
{
    const QString name = index.sibling(index.row(), 1).data().toString();
    NetClientCmd *c = m_byName.value(name);
    if (!c)
        return;
    emit sOpenDetails(c);
    if (opener()) {
        opener()(c, this);
        return;
    }
    QMessageBox::information(
        this, tr("Tip"),
        tr("maintenanceNotAvailable")
            .arg(c->get(QStringLiteral("Name")), c->get(QStringLiteral("IP"))));
}

void DlpDeviceManager::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    rebuild();
    emit sQueryDevice();
}

void DlpDeviceManager::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("deviceManageTitle"));
        if (isVisible())
            rebuild();
    }
    QDialog::changeEvent(event);
}
