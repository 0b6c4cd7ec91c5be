// The form's life: loaded once, an unload that may be cancelled, and the modal and modeless waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

namespace {

class LoadForm final : public ui::Form {
public:
    int loads = 0;
    int16_t cancel = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload(int16_t& Cancel) override { Cancel = cancel; }
};

// The owner hears of each unload that happened, with the form already unloaded and hidden, whether the
// unload came by a call or by the window's close.
TEST(FormLifecycle, LoadsOnceAndUnloadMayBeCancelled) {
    LoadForm form;
    std::vector<std::pair<bool, bool>> unloads; // loaded and visible, as the owner saw them
    form.setUnloadedHandler([&] { unloads.emplace_back(form.Loaded(), form.isVisible()); });
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(form.loads, 1);
    form.cancel = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(unloads.empty());
    form.cancel = 0;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(unloads, (std::vector<std::pair<bool, bool>>{{false, false}}));
    form.Show();
    EXPECT_EQ(form.loads, 2); // a form unloaded loads again when it is next shown
    EXPECT_TRUE(form.close());
    EXPECT_EQ(unloads, (std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}));
}

TEST(FormLifecycle, AModalFormHoldsItsCallerUntilItIsClosed) {
    ui::Form owner;
    owner.Show();
    LoadForm modal;
    ui::CommandButton cmdApply(&modal, "&Apply");
    std::vector<std::string> seen;
    cmdApply.Click = [&] {
        seen.push_back(QApplication::activeModalWidget() == &modal ? "modal" : "modeless");
        modal.Unload();
    };
    // The user's press arrives through the event loop while the caller waits.
    QTimer::singleShot(0, &modal, [&] { cmdApply.setValue(true); });
    modal.ShowModal(&owner);
    seen.push_back("returned");
    EXPECT_EQ(seen, (std::vector<std::string>{"modal", "returned"}));
    EXPECT_EQ(modal.parentWidget(), &owner);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_EQ(modal.loads, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The wait ends however the form goes away, and the owner's controls stay live meanwhile.
TEST(FormLifecycle, AWaitOnAModelessFormEndsWhenItIsHiddenOrDestroyed) {
    ui::Form owner;
    ui::CommandButton cmdOther(&owner, "Other");
    owner.Show();
    int otherClicks = 0;
    cmdOther.Click = [&] { ++otherClicks; };

    auto* error = new LoadForm;
    ui::CommandButton OKButton(error, "OK");
    OKButton.Click = [&] { error->Unload(); };
    QTimer::singleShot(0, &owner, [&] {
        QTest::mouseClick(cmdOther.widget(), Qt::LeftButton); // not blocked by the wait
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QTest::mouseClick(OKButton.widget(), Qt::LeftButton);
    });
    error->ShowAndWait();
    EXPECT_EQ(otherClicks, 1);
    EXPECT_FALSE(error->isVisible());

    QTimer::singleShot(0, &owner, [&] { delete error; });
    error->ShowAndWait();
    EXPECT_EQ(QApplication::topLevelWidgets().contains(error), false);
}

} // namespace
