#include "editor/tool_programs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString FindTool(const QString& name) {
    QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}

namespace {
bool RealStartDetached(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}
}  // namespace

bool (*StartDetached)(const QString&, const QStringList&) = RealStartDetached;

BackgroundRun::BackgroundRun() = default;

BackgroundRun::~BackgroundRun() { Cancel(); }

void BackgroundRun::Start(const QString& program, const QStringList& args, Done done) {
    Cancel();
    done_ = std::move(done);
    process_ = std::make_unique<QProcess>();
    QProcess* p = process_.get();
    QObject::connect(p, &QProcess::finished, p, [this, p](int code, QProcess::ExitStatus status) {
        Done done = std::move(done_);
        QByteArray out = p->readAllStandardOutput(), err = p->readAllStandardError();
        process_.release()->deleteLater();
        if (done) done(status == QProcess::NormalExit ? code : -1, out, err);
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [this, p](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in finished
        Done done = std::move(done_);
        QByteArray why = p->errorString().toUtf8();
        process_.release()->deleteLater();
        if (done) done(-1, {}, why);
    });
    p->start(program, args);
}

bool BackgroundRun::Running() const { return process_ != nullptr; }

void BackgroundRun::Cancel() {
    if (!process_) return;
    done_ = nullptr;
    QProcess* p = process_.release();
    p->disconnect();
    p->kill();
    p->waitForFinished(1000);
    p->deleteLater();
}
