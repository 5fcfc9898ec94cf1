// The editor's message boxes and file dialogs, each behind a function pointer
// so that tests can answer them without a person at the screen.
#pragma once
#include <QString>

class QMessageBox;
class QWidget;

// The caption of every message box, the same text as the window title.
QString EditorTitle();

// A warning with OK only.
extern void (*ShowWarning)(QWidget* parent, const QString& text);

// Unsaved changes: save them, throw them away, or stay.
enum class SaveChoice { Save, Discard, Cancel };
extern SaveChoice (*AskSaveChanges)(QWidget* parent, const QString& text);

// Work kept from the editor's last end: true to restore it, false to
// throw it away.
extern bool (*AskRestoreWork)(QWidget* parent, const QString& text);

// A doubt about what would be saved: true to save all the same.
extern bool (*AskSaveAnyway)(QWidget* parent, const QString& text);

// The save and open dialogs for mission files, starting at `start` (a folder
// or a file). An empty result means cancelled.
extern QString (*ChooseSavePath)(QWidget* parent, const QString& start);
extern QString (*ChooseOpenPath)(QWidget* parent, const QString& start);

// The solvability check's answer, with a button that shows the shortest way
// when `offerWay` and one that searches longer when `offerDeeper`.
enum class CheckChoice { Close, ShowWay, SearchDeeper };
extern CheckChoice (*ShowCheckAnswer)(QWidget* parent, const QString& text, bool offerWay, bool offerDeeper);

// A message box of the editor, wide enough for its whole title.
void FitTitle(QMessageBox& box);
