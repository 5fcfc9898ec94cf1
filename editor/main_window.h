// The editor's main window: fixed 512 x 528, the buttons, the goal group with
// the number field and six radios, the Next group with the pair labels and the
// pair-count scroll bar, and the four views. Commands run here and in the model.
#pragma once
#include <array>

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;
class QRadioButton;
class QScrollBar;
class BoardView;
class QueueView;
class PaletteView;

class EditorWindow : public QWidget {
public:
    EditorWindow();

    void NewCommand();
    void SaveCommand();
    void LoadCommand();
    void UpdateGoalCaptions();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ScrollBarAction(int action);
    void ShowPairCount();
    void CheckRadio(int radio);  // -1: none
    int CheckedRadio() const;    // -1: none
    void RedrawPalettes();
    QString DialogStart() const;

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
};
