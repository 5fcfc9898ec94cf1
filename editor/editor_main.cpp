// The mission editor's entry: one window, the toolkit's event loop.
#include <QApplication>

#include "editor/editor_frame.h"
#include "editor/editor_language.h"
#include "editor/editor_model.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseJapaneseTexts(app);
    ResetEditorState();
    EditorFrame window;
    window.show();
    return app.exec();
}
