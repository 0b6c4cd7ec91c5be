// The program's window made by the rig, shown and active in the layout given, as a user first sees it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>

#include "mainwindow/tests/MainWindowRig.h"

namespace mainwindowtest {

inline frmMain& showActive(MainWindowRig& rig, int16_t layout) {
    rig.store.SaveSetting("NerixSDR", "frmMain", "DisplayMode", std::to_string(layout));
    auto& w = rig.make();
    w.Show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
}

} // namespace mainwindowtest
