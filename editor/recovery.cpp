#include "editor/recovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include "editor/editor_language.h"
#include "platform/platform_os.h"

namespace {
// A path is far shorter; a longer file is not ours.
constexpr size_t RecoveryMaxBytes = MissionFileSize + 4096;

bool armed = false;
std::vector<uint8_t> armedImage;  // the bytes the recovery file gets
int signalPipe[2] = {-1, -1};

// Only a byte down the pipe: the event loop does the rest.
void TakeEndingSignal(int) {
    char byte = 1;
    ssize_t ignored = write(signalPipe[1], &byte, 1);
    (void)ignored;
}

void WriteAtExit() { WriteRecovery(); }
}  // namespace

std::string RecoveryFilePath() {
    std::string settings = SettingsFilePath();
    if (settings.empty()) return {};
    return (std::filesystem::path(settings).parent_path() / "editor-recovery").string();
}

void ArmRecovery(const MissionBytes& bytes, const QString& documentPath) {
    QByteArray path = QFile::encodeName(documentPath);
    armedImage.assign(bytes.begin(), bytes.end());
    armedImage.insert(armedImage.end(), path.begin(), path.end());
    armed = true;
}

void DisarmRecovery() { armed = false; }
bool RecoveryArmed() { return armed; }

bool WriteRecovery() {
    if (!armed) return false;
    std::string path = RecoveryFilePath();
    if (path.empty()) return false;
    MakeFolders(std::filesystem::path(path).parent_path().string());
    std::string reason;
    if (!WriteFileAtomically(path, armedImage.data(), armedImage.size(), &reason)) return false;
    armed = false;  // written once: a second ending has nothing newer
    return true;
}

void KeepWorkThroughEndings(QCoreApplication& app) {
    std::atexit(WriteAtExit);
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        while (read(signalPipe[0], &byte, 1) > 0) {
        }
        WriteRecovery();
        app.exit(0);
    });
    struct sigaction ending {};
    ending.sa_handler = TakeEndingSignal;
    sigemptyset(&ending.sa_mask);
    ending.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &ending, nullptr);
}

bool ReadRecovery(RecoveredWork& work) {
    std::string path = RecoveryFilePath();
    std::vector<uint8_t> bytes;
    if (path.empty() || !ReadFileBytes(path, bytes, RecoveryMaxBytes + 1)) return false;
    if (bytes.size() < MissionFileSize || bytes.size() > RecoveryMaxBytes) return false;
    std::copy(bytes.begin(), bytes.begin() + MissionFileSize, work.bytes.begin());
    work.path = QFile::decodeName(QByteArray(reinterpret_cast<const char*>(bytes.data()) + MissionFileSize,
                                             qsizetype(bytes.size() - MissionFileSize)));
    return true;
}

void RemoveRecovery() {
    std::string path = RecoveryFilePath();
    if (!path.empty()) unlink(path.c_str());
}
