// The mission editor's entry: one window, the toolkit's event loop.
#include <QApplication>

#include "editor/editor_model.h"
#include "editor/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ResetEditorState();
    EditorWindow window;
    window.show();
    return app.exec();
}
