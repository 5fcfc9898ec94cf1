// The editor's top-level window: the 512 x 528 client area (EditorWindow)
// with a menu bar above it and a status line below it, both outside it.
#pragma once
#include <QMainWindow>

class QLabel;
class QProgressBar;
class QPushButton;
class EditorWindow;

class EditorFrame : public QMainWindow {
public:
    EditorFrame();
    EditorWindow* Client() const { return client_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void ShowChecking(bool running);

    EditorWindow* client_;
    QLabel* checkLabel_;
    QProgressBar* checkProgress_;
    QPushButton* cancelButton_;
};
