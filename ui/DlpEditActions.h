#pragma once

#include <QObject>

class DSharedApp;
class DlpMenuBar;
class QAction;

// The Edit menu's Undo and Redo: Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y, texts naming what they would
// take back or do again, disabled when there is nothing to do.
class DlpEditActions : public QObject
{
    Q_OBJECT
  public:
    DlpEditActions(DSharedApp *app, DlpMenuBar *menuBar, QObject *parent = nullptr);

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }

    // Re-reads the texts and enabled states from the command stack.
    void refresh();

    // The translated name of a command ("MoveModel" -> "Move").
    static QString commandText(const char *name);

  private:
    DSharedApp *m_app;
    QAction *m_undo;
    QAction *m_redo;
};
