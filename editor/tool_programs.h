// The game and the solver, as the editor finds and starts them. Both are
// separate programs: the editor hands them files and reads their output.
#pragma once
#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcess;
class QTemporaryDir;

// `name` beside the editor's own executable, else on PATH; empty if neither.
QString FindTool(const QString& name);

// Starts a program that outlives the call (the game window), in the
// editor's current folder; false when it could not be started. Tests may
// replace it.
extern bool (*StartDetached)(const QString& program, const QStringList& args);

// The editor's temporary folder for missions handed to the game and the
// solver: its name carries the editor's process id, so that the next start
// can remove the folders of editors that died without cleaning up.
std::unique_ptr<QTemporaryDir> MakeTemporaryFolder();
// Removes this user's editor temporary folders whose editor is gone.
void RemoveLeftTemporaryFolders();

// One program run in the background. `line` gets each line of its output as
// it comes; `done` gets its exit status (-1 when it could not start or
// crashed) and its remaining output, unless the run was cancelled. The
// program is killed when the editor dies.
class BackgroundRun {
public:
    using Line = std::function<void(const QByteArray& line)>;
    using Done = std::function<void(int status, const QByteArray& out, const QByteArray& err)>;
    BackgroundRun();
    ~BackgroundRun();
    void Start(const QString& program, const QStringList& args, Line line, Done done);
    bool Running() const;
    void Cancel();

private:
    std::unique_ptr<QProcess> process_;
    QByteArray pending_;
    Line line_;
    Done done_;
};
