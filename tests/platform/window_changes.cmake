# Windows changed while they are shown: level changes in a row, Show on a
# minimised window, menus rebuilt.
quill_add_test(platform.level_change COMMAND platform_tests ARGS --gtest_filter=LevelChange.* WM SCREEN 1280x800)
quill_add_test(platform.level_change_without_wm COMMAND platform_tests ARGS --gtest_filter=LevelChangeWithoutWm.*
  SCREEN 1280x800)
quill_add_test(platform.window_show COMMAND platform_tests ARGS --gtest_filter=WindowShow.* WM)
quill_add_test(platform.menu_rebuild COMMAND platform_tests ARGS --gtest_filter=MenuRebuild.* X)
