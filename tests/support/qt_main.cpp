// Test main for tests that need a QApplication. Listing the tests (ctest's discovery) must not
// need a display, so the application is only created when tests actually run.
#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv)
{
    // Look before InitGoogleTest, which takes its own flags out of argv.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    if (!listing)
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
