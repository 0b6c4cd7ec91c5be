// The spectrum: the power spectra of both channels or the combined spectrum of an I/Q pair, averaged over
// the last frames with older ones weighing more, on a linear or logarithmic scale, with the filter
// curve or the I/Q pass band, the notch marker, and the graticule's decibel and frequency labels.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "display/FilterResponse.h"
#include "display/ScopeTraces.h"
#include "frame/ReceiverState.h"
#include "platform/ui/Picture.h"

class clsVFO;
namespace Nerix {
class FilterBank;
}

namespace display {

// What the overlays read of their neighbours. Either may be absent; the overlay step that needs it is
// then skipped, as a failing drawing step is.
struct AnalyserPorts {
    const Nerix::FilterBank* Filters = nullptr; // the IF filter's edges, for the I/Q pass-band box
    const clsVFO* Vfo = nullptr;                // the LO side, for the I/Q pass-band box
};

// The picture's scale as the graticule read it, in Singles, and the most steps a loop may draw.
struct GraticuleScale {
    float left = 0, top = 0, width = 0, height = 0;
    int64_t limit = 1;
    float bottom() const { return top + height; }
    // Ten rows up from the bottom edge.
    float rowStep() const { return std::fabs(height) / 10.0f; }
};

class SpectrumMode {
public:
    SpectrumMode(const ModeContext& context, const FilterResponse& filter, const ReceiverState& state,
                 const AnalyserPorts& ports);
    SpectrumMode(const SpectrumMode&) = delete;
    SpectrumMode& operator=(const SpectrumMode&) = delete;

    // Made with the analyser's other arrays, for points.
    void resize(int32_t points);
    // The power spectra of the enabled channels' n samples, or of the I/Q pair into trace 1.
    void compute(std::span<const float> Q, int32_t n);
    // The average unless in fast mode, then the traces on their scale and the overlays.
    void draw(ui::Picture& pic);

    // The graticule's labels in this mode: decibels up the middle on the log scale, and the frequencies
    // in kilohertz along the middle row, whose failing labels are left out.
    void drawDecibelLabels(ui::Picture& pic, const GraticuleScale& g);
    void drawFrequencyLabels(ui::Picture& pic, const GraticuleScale& g);
    float LabelHeight() const { return labelHeight_; }
    float LabelWidth() const { return labelWidth_; }
    // A graticule put back from a copy sets the label size it was drawn with.
    void restoreLabelSize(float height, float width) {
        labelHeight_ = height;
        labelWidth_ = width;
    }

private:
    void transformPower(std::span<const float> samples, float* power);
    // The last frames of a channel, newest first: frame k of a history of count frames of length values
    // lies at slot (head + k) mod count, so a new frame moves nothing but itself.
    struct SmoothHistory {
        std::vector<float> values = std::vector<float>(kSmoothHistoryLength, 0.0f);
        int32_t count = 0, length = 0, head = 0;
        // Puts frame k in slot k for every k of the history as it stands, and starts a new one of count
        // frames of length values over the same storage.
        void reshape(int32_t newCount, int32_t newLength);
        float* frame(int32_t k) {
            return values.data() + static_cast<std::ptrdiff_t>((head + k) % count) * length;
        }
    };
    void averageTrace(std::vector<float>& trace, SmoothHistory& history, bool enabled);
    void drawChannel(ui::Picture& pic, std::vector<float>& trace, bool enabled, float gain, float offset);
    void drawFilterCurve(ui::Picture& pic);
    void drawPassBand(ui::Picture& pic);
    void drawNotch(ui::Picture& pic);
    const char* setLabelSize(ui::Picture& pic);
    double labelHz(float x, int32_t bin, float width) const;
    int32_t nextLabelBin(int32_t bin, int32_t binStep, float width) const;

    // The bin walk of a frame: unless reversed from StopBin down, so the highest bin is at the left.
    struct Walk {
        bool down = true;
        int64_t first = 0, last = 0, span = 0, limit = 1;
    };
    Walk walk(const ui::Picture& pic) const;

    ModeContext c_;
    const FilterResponse& filter_;
    const ReceiverState& state_;
    const AnalyserPorts& ports_;
    std::vector<float> iqPower_, smoothSum_;
    SmoothHistory smoothHistory1_, smoothHistory2_;
    float labelHeight_ = 0, labelWidth_ = 0;
};

} // namespace display
