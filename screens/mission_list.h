// EDIT GAME chosen with the pad: the mission files of the author's missions
// folder (where the editor saves) listed in the game's own look, in place
// of the open-file dialog, which a pad cannot work.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern uint8_t MissionListOpen;     // the list is shown over the mission select
extern int32_t MissionListCursor;   // the file chosen
extern int32_t MissionListTop;      // the first file shown

inline constexpr int MissionListRows = 15;  // shown at once

// Reads the folder afresh and shows the list.
void OpenMissionList();
// The handler while it is open: Up and Down choose (Left and Right a page at
// a time), confirm starts the file as the dialog's choice does, back returns
// to the title.
void MissionListFrame();
// The files listed, sorted.
const std::vector<std::string>& MissionListFiles();
// The characters of its Japanese texts that no sheet has a picture for
// (drawing them into the back buffer on the way); none is expected.
int MissionListCharactersWithoutPicture();

// This module's variables in the program state list (shell/program_state.h).
#define MISSION_LIST_STATE(X) X(MissionListOpen) X(MissionListCursor) X(MissionListTop)
