// The game and the solver, as the editor finds and starts them. Both are
// separate programs: the editor hands them files and reads their output.
#pragma once
#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcess;

// `name` beside the editor's own executable, else on PATH; empty if neither.
QString FindTool(const QString& name);

// Starts a program that outlives the call (the game window), in the
// editor's current folder; false when it could not be started. Tests may
// replace it.
extern bool (*StartDetached)(const QString& program, const QStringList& args);

// One program run in the background; `done` gets its exit status (-1 when it
// could not start or crashed) and its output, unless the run was cancelled.
class BackgroundRun {
public:
    using Done = std::function<void(int status, const QByteArray& out, const QByteArray& err)>;
    BackgroundRun();
    ~BackgroundRun();
    void Start(const QString& program, const QStringList& args, Done done);
    bool Running() const;
    void Cancel();

private:
    std::unique_ptr<QProcess> process_;
    Done done_;
};
