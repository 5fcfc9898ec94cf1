// The editor's client area: fixed 512 x 528, the buttons, the goal group with
// the number field and eight radios, the Next group with the pair labels and the
// pair-count scroll bar, and the four views. The commands and the document
// (its file, its undo history) live here and in the model; the main window
// around it (main_window.h) adds the menus, the title and the status line.
#pragma once
#include <array>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "editor/check_answer.h"
#include "editor/document_history.h"
#include "editor/recovery.h"
#include "editor/tool_programs.h"
#include "mission/mission_file.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;
class QRadioButton;
class QScrollBar;
class QTemporaryDir;
class BoardView;
class QueueView;
class PaletteView;

// How long the solvability check may take (tests shorten it), and the
// solver's own share of it (it stops before a round it could not finish in
// time); then the longer search the author can ask for.
inline int CheckDeadlineMs = 9500;
inline constexpr int CheckSolverSeconds = 8;
inline constexpr int DeepCheckDeadlineMs = 125000, DeepCheckSolverSeconds = 120;

class MissionPanel : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(MissionPanel)

public:
    explicit MissionPanel(QWidget* parent = nullptr);
    ~MissionPanel() override;

    void NewCommand();
    bool SaveCommand();    // to the current file; asks for a name when there is none
    bool SaveAsCommand();  // always asks for a name
    void LoadCommand();
    void LoadFile(const QString& path);
    // Work kept when the editor last ended without the author: asks whether
    // to restore it (shown unsaved under its file's name) or throw it away;
    // either way it is kept no longer. True when restored.
    bool OfferKeptWork();
    void UndoCommand();
    void RedoCommand();
    void TestPlayCommand();               // the game on the current mission
    void CheckCommand(bool deeper = false);  // the solver on the current mission, in the background
    void CancelCheck();
    bool Checking() const { return check_.Running(); }
    // Unsaved changes: asks Save, Discard or Cancel; true when the caller
    // may go on (saved, discarded, or nothing had changed).
    bool MaybeKeepChanges();
    bool Modified() const { return history_.Modified(); }
    QUndoStack& UndoStack() { return history_.Stack(); }
    void UpdateGoalCaptions();

    QString CurrentPath() const { return currentPath_; }
    // The file's name, or "Untitled".
    QString DocumentName() const;
    // Where the next file dialog starts.
    QString DialogStart(bool saving) const;
    // The folder the first dialog offers: the user's missions folder.
    static QString MissionsFolder();

    // Where one-line notes, the check's state and document changes go; the
    // main window sets them. The last note is kept for tests.
    std::function<void(const QString&)> showStatus;
    std::function<void(bool running)> checkRunning;
    std::function<void(const QString&)> checkProgress;
    std::function<void()> documentChanged;
    QString LastStatus() const { return lastStatus_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ScrollBarAction(int action);
    void ScrollBarValue(int value);
    void ShowPairCount();
    void ShowDocument(bool cursorsAtOrigin);
    void ShowGoalNumberFlag();
    void ShowGoal();
    void CheckRadio(int radio);  // -1: none
    void RedrawPalettes();
    void Status(const QString& text);
    void Changed();
    bool Save(bool askName);
    bool GoalReady();
    bool KeepUnknownGoalType();
    bool MissionReadyToRun();
    QString WriteTemporaryMission(const QString& stem);
    void CheckLine(const QByteArray& line);
    void CheckTick();
    void CheckDeadline();
    void CheckFinished(int status, const QByteArray& out, const QByteArray& err);
    void ShowAnswer(SolverAnswer answer);

    QPushButton* newButton_;
    QPushButton* saveButton_;
    QPushButton* loadButton_;
    QGroupBox* goalGroup_;
    QLineEdit* numberField_;
    std::array<QRadioButton*, 8> radios_;
    QGroupBox* nextGroup_;
    QueueView* queueView_;
    std::array<QLabel*, 8> pairLabels_;
    QScrollBar* pairCountBar_;
    BoardView* boardView_;
    PaletteView* plainPalette_;
    PaletteView* framedPalette_;
    DocumentHistory history_;
    QString currentPath_;  // the file the document was loaded from or saved to
    QString lastFolder_;   // the folder of the last file dialog, shared by both
    QString lastStatus_;
    BackgroundRun check_;
    std::unique_ptr<QTemporaryDir> temporary_;  // missions handed to the game and the solver
    int temporaryCount_ = 0;

    // The running check: the mission it was given, its files, its last
    // answer line, its clocks.
    struct Check {
        MissionBytes mission{};
        QString file, script;
        QByteArray lastAnswer;
        bool deeper = false;
        QElapsedTimer clock;
        long long positions = 0;
    } running_;
    QTimer checkTick_;
    QTimer checkDeadline_;
};
