#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    // Unbuffered, so a crash still leaves the name of the test it happened in.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
