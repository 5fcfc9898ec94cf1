// The mission editor's entry: the language, one window, the toolkit's event
// loop.
//
//   tessmar-editor [--language ja|en] [FILE.msn]
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include <QApplication>

#include "editor/editor_language.h"
#include "editor/editor_model.h"
#include "editor/main_window.h"
#include "editor/mission_panel.h"
#include "editor/recovery.h"
#include "editor/tool_programs.h"

namespace {
// Until the application is up, Qt's complaints (no display, no platform
// plugin) end in a fatal message that would abort: one line instead, exit 1.
void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    static QString first;
    if (first.isEmpty() && type != QtDebugMsg) first = message.section(QLatin1Char('\n'), 0, 0);
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "tessmar-editor: cannot open a window (%s)\n", qPrintable(first.isEmpty() ? message : first));
    std::fflush(stderr);
    _exit(1);
}

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr, "tessmar-editor: %s\nusage: tessmar-editor [--language ja|en] [FILE.msn]\n", why);
    std::exit(2);
}
}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(StartupMessages);
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("tessmar-editor"));  // its X window class, whatever argv[0]
    qInstallMessageHandler(nullptr);
    const char* language = nullptr;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--language" || a.starts_with("--language=")) {
            language = a == "--language" ? (i + 1 < argc ? argv[++i] : nullptr) : argv[i] + 11;
            if (language == nullptr || !ParseLanguage(language)) Usage("--language takes ja or en");
        } else if (a == "--help" || a == "-h") {
            std::printf("usage: tessmar-editor [--language ja|en] [FILE.msn]\n");
            return 0;
        } else if (!a.starts_with("-")) {
            file = argv[i];
        } else {
            Usage((std::string("unknown option ") + argv[i]).c_str());
        }
    }
    UseLanguage(app, EditorLanguage(language));
    RemoveLeftTemporaryFolders();
    ResetEditorState();
    KeepWorkThroughEndings(app);
    MainWindow window;
    window.show();
    // Work the editor kept when it last ended unasked comes first.
    if (!window.Panel()->OfferKeptWork() && file != nullptr) window.Panel()->LoadFile(QString::fromLocal8Bit(file));
    return app.exec();
}
