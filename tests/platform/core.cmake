# The framework layer's core: windows, controls, timers, the OpenGL surface,
# screens, menus and the runtime.
quill_add_test(platform.window COMMAND platform_tests ARGS --gtest_filter=Window.* X)
quill_add_test(platform.window.frames COMMAND platform_tests ARGS --gtest_filter=WindowFrames.* WM)
quill_add_test(platform.timer COMMAND platform_tests ARGS --gtest_filter=Timer.* X)
quill_add_test(platform.opengl_surface COMMAND platform_tests ARGS --gtest_filter=OpenGLSurface.* X)
quill_add_test(platform.screen.one COMMAND platform_tests ARGS --gtest_filter=ScreenOne.* SCREEN 1920x1080)
quill_add_test(platform.screen.two COMMAND platform_tests ARGS --gtest_filter=ScreenTwo.*
  SCREEN 3840x1080 MONITORS 1920/508x1080/286+0+0 1920/508x1080/286+1920+0)
quill_add_test(platform.menu.tree COMMAND platform_tests ARGS --gtest_filter=MenuTree.*)
quill_add_test(platform.menu.shortcuts COMMAND platform_tests ARGS --gtest_filter=MenuShortcuts.* WM)
quill_add_test(platform.menu.tray COMMAND platform_tests ARGS --gtest_filter=MenuTray.* X)
