// The real program's open-file dialog for mission files: Qt's standard file
// dialog, modal, over the SDL window. The game loop waits while it is open.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/platform.h"
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
    QFileDialog dialog(nullptr, QString::fromUtf8("ミッション選択"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("msn");
    // Qt reads the pattern from the ASCII parentheses at the end and, with
    // the details hidden, shows only the description.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromUtf8("ミッションファイル（*.msn） (*.msn)"));
    dialog.setDirectory(LastFolder.isEmpty() ? QString::fromStdString(startFolder) : LastFolder);
    std::string chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString path = dialog.selectedFiles().first();
        LastFolder = QFileInfo(path).absolutePath();
        chosen = path.toStdString();
    }
    QApplication::processEvents();  // let the dialog's window go away
    return chosen;
}
