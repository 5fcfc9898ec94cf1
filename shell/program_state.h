// The program state list: every plain program-wide variable of the game, by
// name, address and size, gathered from the lists its owning modules keep
// beside their declarations. Reset, the headless runner's trace and the
// solver's snapshot are all derived from it.
#pragma once
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "draw/playfield.h"
#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/game_random.h"
#include "rules/input_words.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "rules/screen_layout.h"
#include "rules/screen_state.h"
#include "rules/settle.h"
#include "screens/board_entry.h"
#include "screens/daily.h"
#include "screens/game_over.h"
#include "screens/help.h"
#include "screens/mission_clear.h"
#include "screens/mission_list.h"
#include "screens/mission_select.h"
#include "screens/notice.h"
#include "screens/options.h"
#include "screens/pause.h"
#include "screens/records_file.h"
#include "screens/title.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/message_pump.h"
#include "shell/undo.h"

#define PROGRAM_STATE(X)                                                                                   \
    SCREEN_STATE_STATE(X) MESSAGE_PUMP_STATE(X) MAIN_LOOP_STATE(X) PLAYFIELD_STATE(X) INPUT_STATE(X) BOARD_STATE(X) QUEUE_STATE(X) \
    FALLING_PAIR_STATE(X) SETTLE_STATE(X) SCORING_STATE(X) FISH_STATE(X) LINK_STATE(X) SCREEN_LAYOUT_STATE(X) \
    GAME_MODE_STATE(X) RECORDS_STATE(X) TITLE_STATE(X) MISSION_SELECT_STATE(X) MISSION_CLEAR_STATE(X)     \
    BOARD_ENTRY_STATE(X) PAUSE_STATE(X) GAME_OVER_STATE(X) NOTICE_STATE(X) HELP_STATE(X) KEYBOARD_STATE(X) OPTIONS_STATE(X) \
    MISSION_LIST_STATE(X) GAME_RANDOM_STATE(X) UNDO_STATE(X) DAILY_STATE(X)

// How a variable's bytes read as one value: a number (in the trace), or a
// record or array (its bytes only).
enum class StateShape : uint8_t { Unsigned, Signed, Float, Bytes };

template <class T>
constexpr StateShape ShapeOf() {
    if constexpr (std::is_floating_point_v<T>) return StateShape::Float;
    else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) return StateShape::Signed;
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) return StateShape::Unsigned;
    else return StateShape::Bytes;
}

struct StateVariable {
    const char* name;
    void* address;
    size_t size;
    StateShape shape;
};

// Saving and restoring copy a variable's bytes, and the trace and the solver
// compare them: a listed type must be trivially copyable, and every byte of
// it must belong to a member. Reading a padding byte of a value is not a
// constant expression, so a record with padding it does not spell out fails
// to compile here.
template <class T>
constexpr bool NoUnspelledPadding() {
    if constexpr (std::is_trivially_copyable_v<T>) {
        // The compiler's own bit cast: std::bit_cast is missing from some
        // standard libraries (emscripten's), and memcpy is not constexpr.
        auto bytes = __builtin_bit_cast(std::array<uint8_t, sizeof(T)>, T{});
        unsigned sum = 0;
        for (uint8_t b : bytes) sum += b;
        return sum <= 255 * sizeof(T);
    }
    return false;
}

template <class T>
constexpr StateVariable StateEntry(const char* name, T* address) {
    using Element = std::remove_all_extents_t<T>;
    static_assert(std::is_trivially_copyable_v<Element>, "a listed variable is saved and restored byte for byte");
    static_assert(NoUnspelledPadding<Element>(), "a listed record has padding that it does not spell out");
    return {name, address, sizeof(T), ShapeOf<T>()};
}

#define TESSMAR_STATE_SIZE(v) +sizeof(v)
inline constexpr size_t ProgramStateBytes = 0 PROGRAM_STATE(TESSMAR_STATE_SIZE);
#undef TESSMAR_STATE_SIZE

extern const std::span<const StateVariable> ProgramState;

// The whole list's bytes, one variable after the other in list order.
using ProgramStateImage = uint8_t[ProgramStateBytes];
void SaveProgramState(ProgramStateImage& out);
void RestoreProgramState(const ProgramStateImage& in);

// Puts every program-wide variable back to its program-start value (tests,
// tools): the listed ones from the image taken before main, the surfaces,
// sounds and folders of start-up by their own reset.
void ResetProgramState();
// The listed variables alone back to their program-start values: what a
// search inside the program starts each board from.
void ResetListedState();
