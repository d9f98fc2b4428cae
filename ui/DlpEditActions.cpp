#include "ui/DlpEditActions.h"

#include "app/DSharedApp.h"
#include "ui/DlpMenuBar.h"

#include <QAction>
#include <QKeySequence>

namespace
{

// The names commands carry, translated in this context.
const char *const kCommandNames[] = {
    QT_TRANSLATE_NOOP("DlpEditActions", "MoveModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "RotateModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "LayFlat"),
    QT_TRANSLATE_NOOP("DlpEditActions", "LayoutModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "ScaleModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "CopyModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "DeleteModel"),
    QT_TRANSLATE_NOOP("DlpEditActions", "AddSupport"),
    QT_TRANSLATE_NOOP("DlpEditActions", "RemoveSupport"),
};

} // namespace

DlpEditActions::DlpEditActions(DSharedApp *app, DlpMenuBar *menuBar, QObject *parent)
    : QObject(parent), m_app(app), m_undo(menuBar->action(QStringLiteral("undo"))),
      m_redo(menuBar->action(QStringLiteral("redo")))
{
    Q_UNUSED(kCommandNames)
    m_undo->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_Z));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_Z), QKeySequence(Qt::CTRL + Qt::Key_Y)});
    // Also while the progress window or a panel window of the program is the active one; a
    // text field with the keyboard keeps Ctrl+Z for its own text.
    for (QAction *action : {m_undo, m_redo})
        action->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_undo, &QAction::triggered, this, [this] {
        if (m_app)
            m_app->undoCommand();
    });
    connect(m_redo, &QAction::triggered, this, [this] {
        if (m_app)
            m_app->redoCommand();
    });
    if (m_app)
        connect(m_app, &DSharedApp::commandsChanged, this, &DlpEditActions::refresh);
    connect(menuBar, &DlpMenuBar::retranslated, this, &DlpEditActions::refresh);
    refresh();
}

QString DlpEditActions::commandText(const char *name)
{
    return name ? tr(name) : QString();
}

void DlpEditActions::refresh()
{
    const char *undo = m_app ? m_app->commandStack().undoName() : nullptr;
    const char *redo = m_app ? m_app->commandStack().redoName() : nullptr;
    m_undo->setText(undo ? tr("undoName").arg(commandText(undo)) : tr("undoNothing"));
    m_redo->setText(redo ? tr("redoName").arg(commandText(redo)) : tr("redoNothing"));
    m_undo->setEnabled(undo != nullptr);
    m_redo->setEnabled(redo != nullptr);
}
