// The editor's top-level window: the 512 x 528 client area (MissionPanel)
// with a menu bar above it and a status line below it, both outside it. The
// title names the file and marks unsaved changes.
#pragma once
#include <QCoreApplication>
#include <QMainWindow>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class MissionPanel;

class MainWindow : public QMainWindow {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    MainWindow();
    ~MainWindow() override;
    MissionPanel* Panel() const { return panel_; }
    // The status line's text as shown (cut with an ellipsis when too long).
    QString StatusShown() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void FollowUndoStack();
    void ShowChecking(bool running);
    void ShowStatus(const QString& text);
    void DocumentChanged();

    MissionPanel* panel_;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QLabel* statusLabel_;
    QString statusText_;
    QLabel* checkLabel_;
    QProgressBar* checkProgress_;
    QPushButton* cancelButton_;
};
