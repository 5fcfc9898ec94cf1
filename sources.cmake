# The game's sources, one list per layer, bottom to top, relative to the
# source root. The game's build and the stand-alone fuzz build (tests/fuzz)
# both take them from here.
set(TESSMAR_MISSION_SOURCES mission/mission_file.cpp)
set(TESSMAR_RULES_SOURCES
  rules/board.cpp rules/falling_pair.cpp rules/fish.cpp rules/game_mode.cpp rules/game_random.cpp rules/input_words.cpp rules/link.cpp rules/loops.cpp
  rules/new_game.cpp rules/queue.cpp rules/scoring.cpp rules/screen_layout.cpp rules/screen_state.cpp rules/settle.cpp)
set(TESSMAR_DRAW_SOURCES draw/fish.cpp draw/held_drawing.cpp draw/playfield.cpp draw/surface.cpp draw/surfaces.cpp draw/text.cpp)
set(TESSMAR_RESOURCES_SOURCES resources/resources.cpp)
# The operating system's files, folders, calendar and clock, shared with the editor.
set(TESSMAR_PLATFORM_OS_SOURCES platform/platform_os.cpp platform/calendar.cpp)
# The settings file, the language rule and the game's folders (the settings
# file and the language rule shared with the editor).
set(TESSMAR_SETTINGS_SOURCES settings/data_folder.cpp settings/language.cpp settings/settings.cpp)
# What every platform shares: the picture's place in the window and the
# checks of sounds and tune.
set(TESSMAR_PLATFORM_SOURCES platform/key_names.cpp platform/midi_check.cpp platform/wave_length.cpp platform/window_scale.cpp)
set(TESSMAR_PLATFORM_HEADLESS_SOURCES platform/platform_headless.cpp)
set(TESSMAR_PLATFORM_SDL_SOURCES
  platform/platform_sdl.cpp platform/platform_sdl_audio.cpp platform/platform_sdl_window.cpp platform/platform_sdl_pad.cpp
  platform/platform_sdl_sound.cpp platform/platform_sdl_dialog.cpp
  platform/platform_sdl_x11.cpp)
# The open-file dialog, a module the game loads when the dialog first opens.
set(TESSMAR_DIALOG_MODULE_SOURCES platform/platform_qt_dialog.cpp)
set(TESSMAR_SCREENS_SOURCES
  screens/board_entry.cpp screens/daily.cpp screens/game_over.cpp screens/help.cpp screens/help_rules.cpp screens/key_table.cpp screens/menu_background.cpp screens/mission_clear.cpp
  screens/mission_list.cpp screens/mission_loader.cpp screens/mission_select.cpp screens/notice.cpp screens/options.cpp screens/pause.cpp
  screens/records_file.cpp screens/records_screen.cpp screens/title.cpp)
set(TESSMAR_SHELL_SOURCES
  shell/game_events.cpp shell/game_folder.cpp shell/game_window.cpp shell/input.cpp shell/input_script.cpp
  shell/daily_maker.cpp shell/main_loop.cpp shell/message_pump.cpp shell/mission_start.cpp shell/play_frame.cpp shell/player_settings.cpp shell/program_state.cpp
  shell/replay.cpp shell/replay_file.cpp shell/replay_list.cpp shell/replay_record.cpp shell/startup.cpp shell/undo.cpp)
# The browser's platform (web/CMakeLists.txt builds it with emscripten).
set(TESSMAR_PLATFORM_WEB_SOURCES platform/platform_web.cpp platform/platform_web_audio.cpp platform/platform_web_pad.cpp)
