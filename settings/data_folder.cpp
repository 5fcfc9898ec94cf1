#include "settings/data_folder.h"

#include "platform/platform_os.h"

std::string DataDirectory;
std::string StartDirectory;
std::string MissionsDirectory;
std::string RecordsDirectory;
bool RecordsDisabled = false;
bool ReplayWatched = false;

std::string DataPath(const char* name) { return JoinPath(DataDirectory, name); }
