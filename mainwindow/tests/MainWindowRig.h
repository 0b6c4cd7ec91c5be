// The main window over the receiver's context of its own (ReceiverRig.h), its receiver's steps and its
// own steps watched in one list of effects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QApplication>

#include "mainwindow/frmMain.h"
#include "mainwindow/tests/ReceiverRig.h"

namespace mainwindowtest {

// A window whose steps the tests watch in one list of effects.
class WatchedMain final : public frmMain {
public:
    WatchedMain(mainwindow::MainWindowContext& c, std::vector<std::string>& effects, const bool& failAnalyser)
        : frmMain(c,
                  [&effects, &failAnalyser](mainwindow::MainWindowContext& context,
                                            const mainwindow::ReceiverViews& views) {
                      return std::make_unique<WatchedReceiver>(context, views, effects, failAnalyser);
                  }),
          effects_(effects) {}
    void load() { Form_Load(); }
    void optDisplaySize_Click(int16_t Index) override {
        effects_.push_back("Layout " + std::to_string(Index));
        frmMain::optDisplaySize_Click(Index);
    }
    void optPwr_Click(int16_t Index) override {
        effects_.push_back("Power " + std::to_string(Index));
        frmMain::optPwr_Click(Index);
    }
    void ShowTitleBar(bool on) override {
        effects_.push_back(on ? "TitleBar on" : "TitleBar off");
        frmMain::ShowTitleBar(on);
    }

private:
    std::vector<std::string>& effects_;
};

struct MainWindowRig : ContextRig {
    MainWindowRig() {
        processEvents = [] { QCoreApplication::processEvents(); };
    }

    // Makes the window over a watched receiver.
    WatchedMain& make() {
        window = std::make_unique<WatchedMain>(context, effects, failAnalyser);
        return *window;
    }
    WatchedReceiver& receiver() { return static_cast<WatchedReceiver&>(window->receiver()); }

    std::unique_ptr<WatchedMain> window;
};

} // namespace mainwindowtest
