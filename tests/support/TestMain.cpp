#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    // Tests never need a real display or a sound card.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A test never reads or writes a real player's files: every test binary
    // gets a home folder of its own, removed when it ends.
    std::string home = (std::filesystem::temp_directory_path() / "tessalyn-test-XXXXXX").string();
    if (mkdtemp(home.data()) != nullptr) {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    if (home.find("tessalyn-test-") != std::string::npos)
        std::filesystem::remove_all(home, ignored);
    return result;
}
