quill_add_test(platform.pictures COMMAND platform_tests ARGS --gtest_filter=Picture*:SpecialFolder*:MemoryBlock*:Text*)
quill_add_test(platform.window_level COMMAND platform_tests ARGS --gtest_filter=WindowLevel.* WM SCREEN 1280x800)
quill_add_test(platform.window_level_without_wm COMMAND platform_tests ARGS --gtest_filter=WindowLevelWithoutWm.*
  SCREEN 1280x800)
