#include "shell/Main.h"

#include <QApplication>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The end-to-end test needs a known deal. When TESSALYN_TEST_SEED holds a
// number, the first game chosen is dealt from it; every later game start
// behaves as usual. Players never set it.
std::optional<std::uint32_t> TestSeed()
{
    const char* text = std::getenv("TESSALYN_TEST_SEED");
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == nullptr || *end != '\0')
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

int main(int argc, char** argv)
{
    // The table is plain pixels: no OpenGL stack needs loading on X11.
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessalyn"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessalyn"));
    TForm1 form;
    form.FixedSeed = TestSeed();
    // Start-up has told the player why it cannot go on (screen too small,
    // no card set).
    if (form.TerminateRequested())
        return 1;
    // The first-show sequence runs once, right away: it shows the window
    // maximised, so it never appears first at its design size.
    form.FirstShow();
    return app.exec();
}
