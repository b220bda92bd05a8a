quill_add_test(platform.random COMMAND platform_tests ARGS --gtest_filter=Random*)
