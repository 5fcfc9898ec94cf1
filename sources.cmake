# The game's logic: rules, pictures, screens, the mission loader and the shell
# without its platforms, relative to the source root. The game's build and the
# stand-alone fuzz build (tests/fuzz) both take it from here.
set(TESSMAR_CORE_SOURCES
  rules/board.cpp rules/falling_pair.cpp rules/fish.cpp rules/link.cpp rules/loops.cpp rules/queue.cpp
  rules/scoring.cpp rules/settle.cpp
  draw/fish.cpp draw/playfield.cpp draw/surface.cpp draw/text.cpp
  screens/board_entry.cpp screens/game_over.cpp screens/menu_background.cpp screens/mission_clear.cpp
  screens/mission_select.cpp screens/notice.cpp screens/pause.cpp screens/records_screen.cpp screens/title.cpp
  mission/mission_goal.cpp mission/mission_loader.cpp
  resources/resources.cpp
  shell/game_folder.cpp shell/input.cpp shell/input_script.cpp shell/main_loop.cpp shell/mission_start.cpp
  shell/new_game.cpp shell/play_frame.cpp
  shell/program_state.cpp shell/records_file.cpp shell/settings.cpp shell/startup.cpp shell/window_scale.cpp)
# The mission file format and the operating system's files, calendar and clock,
# which the editor shares.
set(TESSMAR_MISSION_FORMAT_SOURCES mission/mission_file.cpp)
set(TESSMAR_OS_SOURCES shell/platform_os.cpp)
