#pragma once

#include <cstdio>
#include <gtest/gtest.h>

namespace quill_test {

// RUN_ALL_TESTS, but a run that selects no test fails: a CTest entry whose
// --gtest_filter matches nothing (a renamed suite, a typo) would otherwise
// pass having tested nothing. Listing the tests is left alone.
inline int RunSelectedTests()
{
    const int status = RUN_ALL_TESTS();
    if (status == 0 && !GTEST_FLAG_GET(list_tests) && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "error: no test matches --gtest_filter=%s, so nothing was tested\n",
            GTEST_FLAG_GET(filter).c_str());
        return 1;
    }
    return status;
}

} // namespace quill_test
