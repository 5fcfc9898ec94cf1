#include "editor/tool_programs.h"

#include <csignal>
#include <cerrno>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

QString FindTool(const QString& name) {
    QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}

namespace {
bool RealStartDetached(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

const QString TemporaryPrefix = QStringLiteral("tessmar-editor-");
}  // namespace

bool (*StartDetached)(const QString&, const QStringList&) = RealStartDetached;

std::unique_ptr<QTemporaryDir> MakeTemporaryFolder() {
    return std::make_unique<QTemporaryDir>(
        QDir(QDir::tempPath()).filePath(TemporaryPrefix + QString::number(getpid()) + QStringLiteral("-XXXXXX")));
}

void RemoveLeftTemporaryFolders() {
    QDir temp(QDir::tempPath());
    const QStringList names = temp.entryList({TemporaryPrefix + QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool ok = false;
        qint64 pid = name.mid(TemporaryPrefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
        if (!ok || pid <= 0 || pid == getpid()) continue;
        struct stat st {};
        QByteArray path = QFile::encodeName(temp.filePath(name));
        if (lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) continue;
        if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;  // its editor still runs
        QDir(temp.filePath(name)).removeRecursively();
    }
}

BackgroundRun::BackgroundRun() = default;

BackgroundRun::~BackgroundRun() { Cancel(); }

void BackgroundRun::Start(const QString& program, const QStringList& args, Line line, Done done) {
    Cancel();
    line_ = std::move(line);
    done_ = std::move(done);
    pending_.clear();
    process_ = std::make_unique<QProcess>();
    QProcess* p = process_.get();
    // The child dies with the editor, however the editor ends.
    pid_t parent = getpid();
    p->setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);  // the editor died before the call
    });
    QObject::connect(p, &QProcess::readyReadStandardOutput, p, [this, p] {
        pending_ += p->readAllStandardOutput();
        for (qsizetype end; (end = pending_.indexOf('\n')) >= 0;) {
            QByteArray text = pending_.left(end);
            pending_.remove(0, end + 1);
            if (line_) line_(text);
        }
    });
    QObject::connect(p, &QProcess::finished, p, [this, p](int code, QProcess::ExitStatus status) {
        Done done = std::move(done_);
        QByteArray out = pending_ + p->readAllStandardOutput(), err = p->readAllStandardError();
        pending_.clear();
        line_ = nullptr;
        process_.release()->deleteLater();
        if (done) done(status == QProcess::NormalExit ? code : -1, out, err);
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [this, p](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in finished
        Done done = std::move(done_);
        QByteArray why = p->errorString().toUtf8();
        line_ = nullptr;
        process_.release()->deleteLater();
        if (done) done(-1, {}, why);
    });
    p->start(program, args);
}

bool BackgroundRun::Running() const { return process_ != nullptr; }


void BackgroundRun::Cancel() {
    if (!process_) return;
    done_ = nullptr;
    line_ = nullptr;
    QProcess* p = process_.release();
    p->disconnect();
    p->kill();
    p->waitForFinished(1000);
    p->deleteLater();
}
