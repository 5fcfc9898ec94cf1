// The real program's open-file dialog for mission files: Qt's standard file
// dialog, modal and transient for the game's window. The game's frames wait
// while it is open, but its window keeps answering the window manager.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QWindow>
#include <SDL.h>
#include <QTranslator>

#include "draw/text.h"
#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"
#include "platform/replay_input.h"

namespace {
// Qt needs one application object; it is made the first time a dialog opens.
void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "tessmar";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

// Qt's own texts of the dialog (buttons, labels) in the game's language:
// Japanese from Qt's translations, English as Qt has them.
void FollowTextLanguage() {
    static QTranslator* japanese = nullptr;
    if (TextLanguage == Language::Japanese && japanese == nullptr) {
        japanese = new QTranslator;
        if (japanese->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(japanese);
    } else if (TextLanguage == Language::English && japanese != nullptr) {
        QApplication::removeTranslator(japanese);
        delete japanese;
        japanese = nullptr;
    }
}

QString LastFolder;  // the folder of the last chosen file; empty until then

// The game's window as a parent Qt can name, so that the window manager keeps
// the dialog over it (X11 only; elsewhere the dialog stands on its own).
QWindow* GameWindowForQt() {
    unsigned long id = WindowX11Id();
    if (id == 0 || QApplication::platformName() != "xcb") return nullptr;
    return QWindow::fromWinId(WId(id));
}
}  // namespace

std::string PlatformPickMissionFile(const std::string& startFolder) {
    if (ReplayActive) {  // a replay answers from its script: "pick PATH", else cancel
        if (ReplayInput.picks.empty()) return "";
        std::string answer = ReplayInput.picks.front();
        ReplayInput.picks.erase(ReplayInput.picks.begin());
        return answer;
    }
    EnsureApplication();
    FollowTextLanguage();
    const bool japanese = TextLanguage == Language::Japanese;
    QFileDialog dialog(nullptr, QString::fromUtf8(japanese ? "ミッション選択" : "Choose a mission"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("msn");
    // Qt reads the pattern from the ASCII parentheses at the end and, with
    // the details hidden, shows only the description.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromUtf8(japanese ? "ミッションファイル（*.msn） (*.msn)" : "Mission files (*.msn)"));
    dialog.setDirectory(LastFolder.isEmpty() ? QString::fromStdString(startFolder) : LastFolder);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.winId();  // made now, so that its transient parent can be set before it shows
    QWindow* parent = GameWindowForQt();
    if (parent != nullptr) dialog.windowHandle()->setTransientParent(parent);
    // Shown and waited for here rather than with exec(): between Qt's events
    // the game's window takes its own (SDL answers the window manager's pings
    // there), and they stay queued for the frame after the dialog.
    dialog.open();
    // A request to quit closes the dialog as a cancel; the game then quits.
    while (dialog.isVisible()) {
        if (QuitSignalled()) dialog.reject();
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        SDL_PumpEvents();
        SDL_Delay(5);
    }
    std::string chosen;
    if (dialog.result() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString path = dialog.selectedFiles().first();
        LastFolder = QFileInfo(path).absolutePath();
        chosen = path.toStdString();
    }
    QApplication::processEvents();  // let the dialog's window go away
    delete parent;
    return chosen;
}
