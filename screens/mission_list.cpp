#include "screens/mission_list.h"

#include "draw/text.h"
#include "platform/platform_os.h"
#include "rules/game_events.h"
#include "rules/input_words.h"
#include "rules/fish.h"
#include "rules/screen_state.h"
#include "screens/mission_select.h"
#include "screens/key_table.h"
#include "screens/notice.h"
#include "screens/screens.h"
#include "settings/data_folder.h"

constinit uint8_t MissionListOpen;
constinit int32_t MissionListCursor;
constinit int32_t MissionListTop;

namespace {
std::vector<std::string> listedFiles;  // names in the folder, sorted, as last read

constexpr int TitleY = 24, ListY = 64, RowStep = 22, NameX = 32, PointerX = 16;
constexpr int CountY = 404, HintY = 432;
constexpr size_t MostShownCharacters = 42;  // of the narrow face, from NameX
constexpr const char* Suffix = ".msn";
const char* const NoneJapanese[] = {"ヘンシュウ デ ツクッタ", "ミッション ガ マダ ナイ"};
const char* const HintsJapanese[] = {"@f $f モドル", "@e $e ケッテイ @f $f モドル"};

bool Japanese() { return TextLanguage == Language::Japanese; }

// A file's name without ".msn" in the narrow face's letters (capitals; '?'
// for a character it has none for), cut to fit.
std::string Shown(const std::string& name) {
    std::string text = name.substr(0, name.size() - std::string(Suffix).size());
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 95) c = '?';
    }
    if (text.size() > MostShownCharacters) text = text.substr(0, MostShownCharacters - 3) + "...";
    return text;
}

void Move(int by) {
    if (listedFiles.empty()) return;
    const int last = int(listedFiles.size()) - 1;
    int next = MissionListCursor + by;
    if (next < 0) next = 0;
    if (next > last) next = last;
    if (next == MissionListCursor) return;
    MissionListCursor = next;
    PlayGameSound(GameSound::Cursor);
    if (MissionListCursor < MissionListTop) MissionListTop = MissionListCursor;
    if (MissionListCursor >= MissionListTop + MissionListRows) MissionListTop = MissionListCursor - MissionListRows + 1;
}

void Draw() {
    DrawMenuBackground();
    DrawGlyphText("EDIT GAME", 16, TitleY);
    if (listedFiles.empty()) {
        if (Japanese()) {
            DrawKanaText(NoneJapanese[0], NameX, ListY);
            DrawKanaText(NoneJapanese[1], NameX, ListY + RowStep + 4);
        } else {
            DrawNarrowText("NO MISSIONS SAVED WITH THE EDITOR YET", NameX, ListY);
        }
    }
    for (int row = 0; row < MissionListRows && MissionListTop + row < int(listedFiles.size()); ++row)
        DrawNarrowText(Shown(listedFiles[size_t(MissionListTop + row)]).c_str(), NameX, ListY + RowStep * row);
    if (!listedFiles.empty()) {
        DrawNarrowText(">", PointerX, ListY + RowStep * (MissionListCursor - MissionListTop));
        DrawNarrowText(FormatText("%d/%d", MissionListCursor + 1, int(listedFiles.size())), NameX, CountY);
    }
    const bool none = listedFiles.empty();
    if (Japanese()) DrawKanaText(WithKeyLabels(HintsJapanese[none ? 0 : 1], true).c_str(), 8, HintY);
    else DrawNarrowText(WithKeyLabels(none ? "@f $f: BACK" : "@e $e: PLAY   @f $f: BACK", false).c_str(), 8, HintY);
    DrawNotice();
    ShowBackBuffer();
}
}  // namespace

const std::vector<std::string>& MissionListFiles() { return listedFiles; }

int MissionListCharactersWithoutPicture() {
    int missing = 0;
    for (const char* t : NoneJapanese) missing += DrawKanaText(t, 0, 0);
    for (const char* t : HintsJapanese) missing += DrawKanaText(WithKeyLabels(t, true).c_str(), 0, 0);
    return missing;
}

void OpenMissionList() {
    listedFiles = MissionsDirectory.empty() ? std::vector<std::string>{} : FilesEndingIn(MissionsDirectory, Suffix);
    MissionListOpen = 1;
    MissionListCursor = 0;
    MissionListTop = 0;
}

void MissionListFrame() {
    UpdateFish();
    if (DownPressed) Move(+1);
    if (UpPressed) Move(-1);
    if (RightPressed) Move(+MissionListRows);
    if (LeftPressed) Move(-MissionListRows);
    if (ConfirmPressed() && !listedFiles.empty()) {
        PlayGameSound(GameSound::Decide);
        if (StartPickedMission(JoinPath(MissionsDirectory, listedFiles[size_t(MissionListCursor)]))) MissionListOpen = 0;
    }
    if (Button2Pressed && ScreenState == MissionSelectScreen) {
        MissionListOpen = 0;
        ScreenState = TitleScreen;
        MissionRepeatTimer = 0;
        MissionBlinkTimer = 0;
    }
    Draw();
}
