#pragma once
// The text area's right-click menu. QScintilla's own has no Chinese translation, so
// this one takes its captions from Qt's (those of QLineEdit's menu, the same words).
class QMenu;
class QsciScintilla;

namespace levara {

// Undo, Redo, Cut, Copy, Paste, Delete, Select All on area, each enabled as it applies.
QMenu* makeTextMenu(QsciScintilla* area);

}  // namespace levara
