// main() of the GoogleTest programs that need Qt widgets: one application
// object for the whole run, on the headless platform unless one is chosen.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <cerrno>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A runtime folder of the build: in a session without one (su -), Qt warns and makes one in /tmp.
    if (!std::getenv("XDG_RUNTIME_DIR") && (::mkdir(TAVO_TEST_RUNTIME_DIR, 0700) == 0 || errno == EEXIST))
        ::setenv("XDG_RUNTIME_DIR", TAVO_TEST_RUNTIME_DIR, 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
