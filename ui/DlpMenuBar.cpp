#include "ui/DlpMenuBar.h"

#include <QAction>
#include <QMenu>

namespace
{

struct MenuLayout {
    const char *menu;
    std::initializer_list<const char *> actions;
};

// Menus and entries in the order they are shown.
#define T(key) QT_TRANSLATE_NOOP("DlpMenuBar", key)
const MenuLayout kLayout[] = {
    {T("file"),
     {T("importStl"), T("exportStl"), T("importVxpj"), T("exportVxpj"), T("exportVxpr")}},
    {T("edit"), {T("undo"), T("redo")}},
    {T("tool"),
     {T("up"), T("deviceManage"), T("createBasicModel"), T("Languages"), T("login"), T("choise")}},
    {T("window"), {T("model_infos")}},
    {T("help"), {T("aboutSoft")}},
};
#undef T

} // namespace

DlpMenuBar::DlpMenuBar(QWidget *parent) : QMenuBar(parent)
{
    setObjectName(QStringLiteral("DlpMenuBar"));
    setFixedHeight(BarHeight);
    setNativeMenuBar(false);
    setStyleSheet(QStringLiteral("QMenuBar{background:#f5f5f5;font-size:14px;}"
                                 "QMenuBar::item{padding:10px 14px;}"
                                 "QMenuBar::item:selected{background:#dfe6ee;}"));
    for (const MenuLayout &layout : kLayout) {
        MenuEntry entry{layout.menu, addMenu(QString()), {}};
        entry.menu->setObjectName(QLatin1String(layout.menu));
        for (const char *key : layout.actions) {
            QAction *action = entry.menu->addAction(QString());
            action->setObjectName(QLatin1String(key));
            entry.actions.push_back({key, action});
        }
        m_menus.push_back(entry);
    }
    // Kept for later use; nothing behind them is offered yet.
    action(QStringLiteral("login"))->setVisible(false);
    action(QStringLiteral("choise"))->setVisible(false);
    retranslate();
}

QAction *DlpMenuBar::action(const QString &key) const
{
    for (const MenuEntry &menu : m_menus) {
        for (const Entry &entry : menu.actions) {
            if (key == QLatin1String(entry.key)) {
                return entry.action;
            }
        }
    }
    return nullptr;
}

QMenu *DlpMenuBar::menu(const QString &key) const
{
    for (const MenuEntry &menu : m_menus) {
        if (key == QLatin1String(menu.key)) {
            return menu.menu;
        }
    }
    return nullptr;
}

QStringList DlpMenuBar::menuKeys() const
{
    QStringList keys;
    for (const MenuEntry &menu : m_menus) {
        keys << QLatin1String(menu.key);
    }
    return keys;
}

QStringList DlpMenuBar::actionKeys(const QString &menuKey) const
{
    QStringList keys;
    for (const MenuEntry &menu : m_menus) {
        if (menuKey == QLatin1String(menu.key)) {
            for (const Entry &entry : menu.actions) {
                keys << QLatin1String(entry.key);
            }
        }
    }
    return keys;
}

void DlpMenuBar::retranslate()
{
    for (const MenuEntry &menu : m_menus) {
        menu.menu->setTitle(tr(menu.key));
        for (const Entry &entry : menu.actions) {
            entry.action->setText(tr(entry.key));
        }
    }
    emit retranslated();
}
