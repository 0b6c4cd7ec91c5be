// The block housekeeping tick: the S-meter, the statistics, the deferred filter rebuild, the peak tracking
// of the automatic notch and the dynamic AF filter, and the model's controls. Qt-free over its ports.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "frame/ReceiverState.h"

class clsFFTFilter;

namespace mainwindow {

// The rings the block drivers fill while the statistics are on; 47 entries of each are averaged.
struct BlockStatistics {
    std::span<const int16_t> Peak1, Peak2;
    std::span<const int32_t> BlockTimes; // microseconds
};

// The current model's settings the tick follows.
struct ModelFlags {
    bool VFOControl = false;
    bool LowSideLOOption = false;
    bool IQMode = false;
};

class HousekeepingPorts {
public:
    virtual ~HousekeepingPorts() = default;
    virtual bool Minimised() = 0;
    // S-meter
    virtual void UpdateSMeter(double level) = 0;
    virtual void SetSMeterToolTip(const std::string& tip) = 0;
    // Statistics labels 0 to 5; the rings, absent without a receive path.
    virtual const BlockStatistics* Statistics() = 0;
    virtual void SetStat(int16_t index, const std::string& caption) = 0;
    virtual void SetStatColour(int16_t index, int32_t colour) = 0;
    virtual void Pump() = 0;
    // The filter rebuild; false when it stopped (a block held below it), FiltersDirty then set again.
    virtual bool RebuildFilters() = 0;
    // The AF filter and the notch (absent without a filter bank: the statement raises) and one design.
    virtual clsFFTFilter& AfFilter() = 0;
    virtual clsFFTFilter& NotchFilter() = 0;
    virtual void MakeFilter(clsFFTFilter& filter) = 0;
    virtual void ShowNotchPeak(const std::string& caption, const std::string& toolTip) = 0;
    virtual int32_t OscOut() = 0;
    virtual ModelFlags Model() = 0;
    // The model's controls: chkIQSelectUpper, chkTuneLo (hidden also means set to 0) and "&SAM".
    virtual void ShowModelControls(bool iqSelectUpper, bool tuneLo, bool sam) = 0;
};

// Statistics colours.
inline constexpr int32_t kStatYellow = 0x00FFFF, kStatGreen = 0x00FF00, kStatRed = 0x0000FF;
inline constexpr int32_t kStatRingUsed = 47;

class Housekeeping {
public:
    Housekeeping(ReceiverState& state, HousekeepingPorts& ports) : state_(state), ports_(ports) {
        caption_.reserve(kCaptionCapacity);
        tip_.reserve(kCaptionCapacity);
    }

    // One tick; the timer is stopped by the caller before. A nested tick returns at once.
    void tmrPerfStats_Timer();

    // "ZeroS": the next tick takes the average level as the noise floor.
    bool CalibrateSMeterRequest = false;
    float SMeterLevel = 0.0f;
    int32_t PeakFrequency = 0;
    int32_t DynFilterLastPeak = 0;
    int32_t DynFilterShift = 0;

private:
    void sMeter();
    void statistics();
    void trackPeak();
    void dynamicFilter(bool held);
    void notch(bool held);
    void modelControls();

    ReceiverState& state_;
    HousekeepingPorts& ports_;
    bool busy_ = false;
    // The joined captions are built here, so a tick with nothing to rebuild allocates nothing.
    static constexpr size_t kCaptionCapacity = 48;
    std::string caption_, tip_;
};

} // namespace mainwindow
