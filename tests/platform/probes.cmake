# A program on the framework layer alone, run by RuntimeTest in processes of
# its own (exit statuses, quitting, unhandled exceptions).
add_executable(platform_runtime_probe ${CMAKE_CURRENT_SOURCE_DIR}/probes/RuntimeProbe.cpp)
target_link_libraries(platform_runtime_probe PRIVATE platform)
add_dependencies(platform_tests platform_runtime_probe)
target_compile_definitions(platform_tests PRIVATE QUILL_RUNTIME_PROBE="$<TARGET_FILE:platform_runtime_probe>")

quill_add_test(platform.runtime COMMAND platform_tests ARGS --gtest_filter=Runtime.* X)
quill_add_test(platform.runtime.input COMMAND platform_tests ARGS --gtest_filter=RuntimeInput.* WM)
quill_add_test(platform.runtime.tray COMMAND platform_tests ARGS --gtest_filter=RuntimeTray.* X)
