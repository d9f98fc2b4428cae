#pragma once

#include "network/DeviceInfos.h"

#include <QDialog>
#include <QMap>
#include <QModelIndex>

#include <functional>

class QMenu;
class QStandardItemModel;
class QTreeView;

// The printer management window: a two-column tree of every printer's properties. Double-clicking
// a printer opens its maintenance dialog through the details opener (see setDetailsOpener).
class DlpDeviceManager : public QDialog
{
    Q_OBJECT
  public:
    // Opens the maintenance dialog of a printer (modal); the maintenance part installs it.
    // Without one a message names the printer and says that maintenance is not available.
    using DetailsOpener = std::function<void(NetClientCmd *printer, DlpDeviceManager *manager)>;
    static void setDetailsOpener(DetailsOpener opener);

    explicit DlpDeviceManager(QWidget *parent = nullptr);

    QTreeView *tree() const { return m_tree; }
    QStandardItemModel *model() const { return m_model; }
    // The printer shown under this name, or null.
    NetClientCmd *printer(const QString &name) const { return m_byName.value(name); }

  public slots:
    void onUpdateDeviceTree(DeviceInfos listDevice);
    void onCustomContextMenuRequested(QPoint pos);
    void onDoubleClicked(QModelIndex index);

  signals:
    void sQueryDevice();
    void sUpload(QString file);
    // A printer row was double-clicked (before its dialog opens).
    void sOpenDetails(NetClientCmd *printer);

  protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void rebuild();

    QTreeView *m_tree;
    QStandardItemModel *m_model;
    QMap<QString, NetClientCmd *> m_byName;
    DeviceInfos m_devices;
    QMenu *m_menu;
};
