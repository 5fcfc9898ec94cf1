// The editor's message boxes and file dialogs, each behind a function pointer
// so that tests can answer them without a person at the screen.
#pragma once
#include <QString>

class QWidget;

// The caption of every message box, the same text as the window title.
QString EditorTitle();

// A warning with OK and Cancel; true for OK.
extern bool (*AskOkCancel)(QWidget* parent, const QString& text);
// A warning with OK only.
extern void (*ShowWarning)(QWidget* parent, const QString& text);
// The save and open dialogs for mission files, starting at `start` (a folder
// or the last chosen file). An empty result means cancelled.
extern QString (*ChooseSavePath)(QWidget* parent, const QString& start);
extern QString (*ChooseOpenPath)(QWidget* parent, const QString& start);

// The solvability check's answer; with `offerWay` also a button that shows
// the shortest way, and true when it was pressed.
extern bool (*ShowCheckAnswer)(QWidget* parent, const QString& text, bool offerWay);
