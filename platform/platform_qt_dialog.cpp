// The open-file dialog module: Qt's standard file dialog for mission files,
// modal and transient for the game's window. The game's frames wait while it
// is open, but its window keeps answering the window manager.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>
#include <QWindow>

#include <string>

#include "platform/file_dialog_module.h"

namespace {
// The longest one look at Qt's events takes before the game's window and a
// quit request are looked at again.
constexpr int DialogPollMs = 10;

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
void FollowTextLanguage(bool inJapanese) {
    static QTranslator* japanese = nullptr;
    if (inJapanese && japanese == nullptr) {
        japanese = new QTranslator;
        if (japanese->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(japanese);
    } else if (!inJapanese && japanese != nullptr) {
        QApplication::removeTranslator(japanese);
        delete japanese;
        japanese = nullptr;
    }
}

QString LastFolder;  // the folder of the last chosen file; empty until then
std::string Chosen;  // the answer handed back

// The game's window as a parent Qt can name, so that the window manager keeps
// the dialog over it (X11 only; elsewhere the dialog stands on its own).
QWindow* GameWindowForQt(unsigned long id) {
    if (id == 0 || QApplication::platformName() != "xcb") return nullptr;
    return QWindow::fromWinId(WId(id));
}
}  // namespace

extern "C" __attribute__((visibility("default"))) const char* TessmarPickMissionFile(const FileDialogRequest* request) {
    EnsureApplication();
    const bool japanese = request->japanese != 0;
    FollowTextLanguage(japanese);
    QFileDialog dialog(nullptr, QString::fromUtf8(japanese ? "ミッション選択" : "Choose a mission"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("msn");
    // Qt reads the pattern from the ASCII parentheses at the end and, with
    // the details hidden, shows only the description.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromUtf8(japanese ? "ミッションファイル（*.msn） (*.msn)" : "Mission files (*.msn)"));
    dialog.setDirectory(LastFolder.isEmpty() ? QString::fromStdString(request->startFolder) : LastFolder);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.winId();  // made now, so that its transient parent can be set before it shows
    QWindow* parent = GameWindowForQt(request->parentX11Window);
    if (parent != nullptr) dialog.windowHandle()->setTransientParent(parent);
    // Shown and waited for here rather than with exec(): between Qt's events
    // the game's window takes its own (SDL answers the window manager's pings
    // there), and they stay queued for the frame after the dialog.
    dialog.open();
    // A request to quit closes the dialog as a cancel; the game then quits.
    while (dialog.isVisible()) {
        if (request->quitRequested()) dialog.reject();
        QApplication::processEvents(QEventLoop::AllEvents, DialogPollMs);
        request->keepWindowAnswering();
    }
    Chosen.clear();
    if (dialog.result() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString path = dialog.selectedFiles().first();
        LastFolder = QFileInfo(path).absolutePath();
        Chosen = path.toStdString();
    }
    QApplication::processEvents();  // let the dialog's window go away
    delete parent;
    return Chosen.c_str();
}
