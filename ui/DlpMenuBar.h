#pragma once

#include <QMenuBar>
#include <QVector>

class QAction;
class QMenu;

// The main window's menu bar: File, Edit, Tool, Window and Help. Each menu and action carries its
// translation key as object name; the texts are re-read by retranslate().
class DlpMenuBar : public QMenuBar
{
    Q_OBJECT
  public:
    static constexpr int BarHeight = 40;

    explicit DlpMenuBar(QWidget *parent = nullptr);

    // The action with the given key ("importStl", "exportVxpj", ...); null for an unknown key.
    QAction *action(const QString &key) const;
    QMenu *menu(const QString &key) const;
    // Menu keys in the order the menus appear.
    QStringList menuKeys() const;
    // Action keys of one menu in the order they appear.
    QStringList actionKeys(const QString &menuKey) const;

    void retranslate();

  signals:
    // The texts were re-read (entries that show more than their key refresh themselves).
    void retranslated();

  private:
    struct Entry {
        const char *key;
        QAction *action;
    };
    struct MenuEntry {
        const char *key;
        QMenu *menu;
        QVector<Entry> actions;
    };

    QVector<MenuEntry> m_menus;
};
