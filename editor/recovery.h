// Unsaved work kept through an end the author did not choose: a signal (a
// logout, a closed terminal) or the loss of the display. The mission as Save
// would write it, followed by the path of the file it belongs to, is kept in
// one file beside the settings; the next start offers it back.
#pragma once
#include <string>

#include <QString>

#include "mission/mission_file.h"

class QCoreApplication;

// ${XDG_CONFIG_HOME:-$HOME/.config}/tessmar/editor-recovery; empty when
// neither names a folder.
std::string RecoveryFilePath();

// The work to keep should the editor end now, and none.
void ArmRecovery(const MissionBytes& bytes, const QString& documentPath);
void DisarmRecovery();
bool RecoveryArmed();
// Writes the armed work (atomically); true when written.
bool WriteRecovery();

// SIGTERM, SIGHUP and SIGINT write the armed work and end the application's
// event loop; an exit from anywhere else (Qt ends the program when its
// display goes away) writes it too.
void KeepWorkThroughEndings(QCoreApplication& app);

struct RecoveredWork {
    MissionBytes bytes{};
    QString path;  // empty: an untitled mission
};
// The kept work, when there is some.
bool ReadRecovery(RecoveredWork& work);
void RemoveRecovery();
