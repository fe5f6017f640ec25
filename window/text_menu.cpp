#include "window/text_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <Qsci/qsciscintilla.h>
#include <functional>

namespace levara {

namespace {

void addItem(QMenu* menu, const char* caption, QKeySequence::StandardKey key, bool enabled,
             const std::function<void()>& command)
{
    QString text = QCoreApplication::translate("QLineEdit", caption);
    if (const QKeySequence shortcut(key); !shortcut.isEmpty())
        text += '\t' + shortcut.toString(QKeySequence::NativeText);
    QAction* action = menu->addAction(text);
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, menu, command);
}

}  // namespace

QMenu* makeTextMenu(QsciScintilla* area)
{
    auto* menu = new QMenu(area);
    menu->setObjectName("textMenu");
    const bool writable = !area->isReadOnly();
    const bool selected = area->hasSelectedText();
    addItem(menu, "&Undo", QKeySequence::Undo, writable && area->isUndoAvailable(), [area] { area->undo(); });
    addItem(menu, "&Redo", QKeySequence::Redo, writable && area->isRedoAvailable(), [area] { area->redo(); });
    menu->addSeparator();
    addItem(menu, "Cu&t", QKeySequence::Cut, writable && selected, [area] { area->cut(); });
    addItem(menu, "&Copy", QKeySequence::Copy, selected, [area] { area->copy(); });
    addItem(menu, "&Paste", QKeySequence::Paste, writable && !QApplication::clipboard()->text().isEmpty(),
            [area] { area->paste(); });
    addItem(menu, "Delete", QKeySequence::UnknownKey, writable && selected, [area] { area->removeSelectedText(); });
    menu->addSeparator();
    addItem(menu, "Select All", QKeySequence::SelectAll, area->length() > 0, [area] { area->selectAll(); });
    return menu;
}

}  // namespace levara
