// Test main with a QApplication in the program's fonts; offscreen when there is no display, so discovery
// runs anywhere.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/ui/Fonts.h"

int main(int argc, char** argv) {
    const bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!haveDisplay && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ui::installDesignFonts();
    return RUN_ALL_TESTS();
}
