// The Oscillator member set: every member the VFO, the receiver set-up, the main window and the dialogs
// call on an oscillator object. A class offers only what its hardware needs; calling a member it leaves
// out raises Object doesn't support this property or method (438).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class clsVFO;
class LineInterface;

class Oscillator {
public:
    virtual ~Oscillator() = default;

    virtual std::string Name() const;
    virtual void setName(std::string value);
    virtual std::string RxName() const;
    virtual void setRxName(std::string value);
    // The VFO that owns the oscillator; held, never used.
    virtual clsVFO* Parent() const;
    virtual void setParent(clsVFO* value);
    // The line interface whose members the driver calls; not owned.
    virtual LineInterface* IFHandler() const;
    virtual void setIFHandler(LineInterface* value);
    // Hz; reads back in whole hertz.
    virtual double ClkIn() const;
    virtual void setClkIn(double hertz);
    // Hz.
    virtual int32_t BaseFrequency() const;
    virtual void setBaseFrequency(int32_t hertz);
    virtual double FreqScaling() const;
    virtual void setFreqScaling(double value);
    // 0.1 Hz; a class that holds its limits as 32-bit floats returns the float's value.
    virtual double MaxFreq() const;
    virtual double MinFreq() const;
    virtual int32_t CurrentTuningWord() const;
    virtual void setCurrentTuningWord(int32_t value);
    virtual bool CMDOutActive() const;
    virtual void setCMDOutActive(bool value);

    virtual int32_t Initialise();
    // f in 0.1 Hz; the frequency acted on, or nothing when the call did not act.
    virtual std::optional<int32_t> SetFrequency(int32_t f);
    virtual void Refresh();
    virtual void SaveSettings();
    virtual void RestoreSettings();

    // Members of single classes.
    virtual bool AutoRefresh() const;
    virtual void setAutoRefresh(bool value);
    virtual bool CalibMode() const;
    virtual void setCalibMode(bool value);
    virtual void InitialiseChip();
    virtual int32_t RigNo() const;
    virtual void setRigNo(int32_t value);
    virtual std::string RigDesc() const;
    virtual void setRigDesc(std::string value);

    // False where ClkIn is no clock the output is made from, so a station heard cannot correct it.
    virtual bool hasCalibratableClock() const { return true; }

protected:
    virtual std::string_view className() const = 0;
    [[noreturn]] void unsupported(std::string_view member) const;
};
