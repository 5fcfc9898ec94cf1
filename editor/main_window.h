// The editor's client area: fixed 512 x 528, the buttons, the goal group with
// the number field and six radios, the Next group with the pair labels and the
// pair-count scroll bar, and the four views. Commands run here and in the
// model; the frame around it (editor_frame.h) adds the menus and status line.
#pragma once
#include <array>
#include <functional>
#include <memory>

#include <QString>
#include <QWidget>

#include "editor/tool_programs.h"

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

class EditorWindow : public QWidget {
public:
    explicit EditorWindow(QWidget* parent = nullptr);
    ~EditorWindow() override;

    void NewCommand();
    void SaveCommand();
    void LoadCommand();
    void UndoCommand();
    void RedoCommand();
    void TestPlayCommand();  // the game on the current mission
    void CheckCommand();     // the solver on the current mission, in the background
    void CancelCheck();
    bool Checking() const { return check_.Running(); }
    bool ConfirmQuit();
    void UpdateGoalCaptions();

    // Where one-line notes (a load of odd size) and the check's running state
    // are shown; the frame sets them. The last note is kept for tests.
    std::function<void(const QString&)> showStatus;
    std::function<void(bool running)> checkRunning;
    QString LastStatus() const { return lastStatus_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ScrollBarAction(int action);
    void ScrollBarValue(int value);
    void ShowPairCount();
    void ShowDocument(bool cursorsAtOrigin);
    void CheckRadio(int radio);  // -1: none
    void RedrawPalettes();
    void Status(const QString& text);
    QString DialogStart() const;
    bool MissionReadyToRun();
    QString WriteTemporaryMission(const QString& stem);
    void CheckFinished(int status, const QByteArray& out, const QByteArray& err, const QString& file,
                       const QString& script);

    QPushButton* newButton_;
    QPushButton* saveButton_;
    QPushButton* loadButton_;
    QGroupBox* goalGroup_;
    QLineEdit* numberField_;
    std::array<QRadioButton*, 6> radios_;
    QGroupBox* nextGroup_;
    QueueView* queueView_;
    std::array<QLabel*, 8> pairLabels_;
    QScrollBar* pairCountBar_;
    BoardView* boardView_;
    PaletteView* plainPalette_;
    PaletteView* framedPalette_;
    QString programFolder_;
    QString lastPath_;  // the path chosen in the last file dialog, shared by both
    QString lastStatus_;
    BackgroundRun check_;
    std::unique_ptr<QTemporaryDir> temporary_;  // missions handed to the game and the solver
    int temporaryCount_ = 0;
};
