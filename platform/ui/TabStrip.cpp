// The tab strip over a QTabBar whose tabs share its width.
#include "platform/ui/TabStrip.h"

#include <QProxyStyle>
#include <QTabBar>
#include <algorithm>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/QtSupport.h"

namespace ui {

namespace {

// The spacing a tab puts around its caption, when the strip has to choose it.
class TabSpacingStyle final : public QProxyStyle {
public:
    int spacing = -1; // the style's own

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace && spacing >= 0) return spacing;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Tabs share the strip's width: when the captions with the style's spacing do not
// fit, the spacing shrinks (to a few pixels) before any tab would scroll out of sight.
class FittingTabBar final : public QTabBar {
public:
    explicit FittingTabBar(QWidget* parent) : QTabBar(parent), spacing_(new TabSpacingStyle) {
        spacing_->setParent(this);
        setStyle(spacing_);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        fit();
        QTabBar::resizeEvent(event);
    }
    void tabInserted(int index) override {
        QTabBar::tabInserted(index);
        fit();
    }

private:
    void fit() {
        constexpr int kLeastSpacing = 6;
        spacing_->spacing = -1;
        if (count() == 0 || width() <= 0) return;
        int total = 0;
        for (int i = 0; i < count(); ++i)
            total += tabSizeHint(i).width();
        if (total <= width()) return;
        // What a tab needs besides its spacing: the caption and the tab's own frame.
        const int natural = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this);
        const int rest = total - count() * natural;
        spacing_->spacing = std::max(kLeastSpacing, (width() - rest) / count() / 2 * 2);
    }

    TabSpacingStyle* spacing_;
};

} // namespace

TabStrip::TabStrip(QWidget* parent) : Control(new FittingTabBar(parent)) {
    // A tab clicked takes the focus, so the arrow keys then go from tab to tab.
    bar()->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(bar(), &QTabBar::currentChanged, bar(), [this](int i) {
        if (i < 0 || i + 1 == selected_) return;
        selected_ = i + 1;
        runGuarded(Click, "Click");
    });
}
QTabBar* TabStrip::bar() const {
    return static_cast<QTabBar*>(widget());
}
void TabStrip::AddTab(const std::string& caption, const std::string& toolTip) {
    silently(bar(), [&] {
        const int i = bar()->addTab(q(caption));
        bar()->setTabToolTip(i, q(toolTip));
    });
    // The first tab is selected as it is added, without a click.
    if (selected_ == 0) selected_ = 1;
}
int32_t TabStrip::TabCount() const {
    return bar()->count();
}
std::string TabStrip::TabCaption(int32_t number) const {
    if (number < 1 || number > TabCount())
        runtime::raise(err::kInvalidPropertyArrayIndex, "Tabs", "Invalid property array index");
    return s(bar()->tabText(number - 1));
}
std::string TabStrip::TabToolTipText(int32_t number) const {
    if (number < 1 || number > TabCount())
        runtime::raise(err::kInvalidPropertyArrayIndex, "Tabs", "Invalid property array index");
    return s(bar()->tabToolTip(number - 1));
}
void TabStrip::setSelectedItem(int32_t number) {
    if (number < 1 || number > TabCount())
        runtime::raise(err::kInvalidPropertyValue, "SelectedItem", "Invalid property value");
    if (number == selected_) return;
    selected_ = number;
    silently(bar(), [&] { bar()->setCurrentIndex(number - 1); });
    if (Click) Click();
}

} // namespace ui
