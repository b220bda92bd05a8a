quill_add_test(platform.raster_store COMMAND platform_tests ARGS --gtest_filter=RasterStore.* X)
