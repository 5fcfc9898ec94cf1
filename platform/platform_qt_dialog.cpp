// The real program's open-file dialog for mission files: Qt's standard file
// dialog, modal, over the SDL window. The game loop waits while it is open.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QTimer>
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
    // A request to quit closes the dialog as a cancel; the game then quits.
    QTimer quitWatch;
    QObject::connect(&quitWatch, &QTimer::timeout, &dialog, [&dialog] {
        if (QuitSignalled()) dialog.reject();
    });
    quitWatch.start(50);
    std::string chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString path = dialog.selectedFiles().first();
        LastFolder = QFileInfo(path).absolutePath();
        chosen = path.toStdString();
    }
    QApplication::processEvents();  // let the dialog's window go away
    return chosen;
}
