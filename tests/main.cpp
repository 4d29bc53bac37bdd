#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    // Widgets are tested without a display; e2e tests that need a real X
    // server start Xvfb themselves and set DISPLAY for the program they run.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // CI runs without a login session; give Qt and the sound server a
    // private runtime folder instead of letting them warn or share one.
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/orvane-test-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
