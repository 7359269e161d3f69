#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Every test program runs in a home folder of its own, made fresh and removed
// at the end, so no test ever reads or writes a real player's data.
class TTemporaryHome {
public:
    TTemporaryHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessalyn-home-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        Folder = pattern;
        setenv("HOME", Folder.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Folder / ".config").c_str(), 1);
        setenv("XDG_DATA_HOME", (Folder / ".local/share").c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    ~TTemporaryHome()
    {
        std::error_code ignored;
        if (!Folder.empty())
            std::filesystem::remove_all(Folder, ignored);
    }
    TTemporaryHome(const TTemporaryHome&) = delete;
    TTemporaryHome& operator=(const TTemporaryHome&) = delete;

private:
    std::filesystem::path Folder;
};

} // namespace

int main(int argc, char** argv)
{
    // Tests never need a real display or a sound card.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const TTemporaryHome home;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
