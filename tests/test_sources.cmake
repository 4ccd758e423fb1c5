# The sources of coilrun-tests, relative to tests/: the same on every platform it is built for.
set(COILRUN_TEST_SOURCES
    bitmap_loader_test.cpp data_checker_test.cpp data_dir_test.cpp data_maker_test.cpp display_test.cpp
    fade_test.cpp game_data.cpp game_test.cpp golden_game.cpp golden_game_test.cpp input_record_test.cpp
    keyboard_test.cpp pace_test.cpp pcx_loader_test.cpp play_state_test.cpp play_tick_test.cpp rgb565_test.cpp
    score_table_test.cpp scripted_player.cpp settings_test.cpp sound_test.cpp window_test.cpp)
