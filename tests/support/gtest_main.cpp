// GoogleTest main for the test executables that need no Qt application.
#include "tests/support/RunSelectedTests.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return quill_test::RunSelectedTests();
}
