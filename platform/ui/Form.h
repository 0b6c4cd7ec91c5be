// A form: a top-level window whose size is given in twips and whose events are virtual members named as
// the windows' own handlers are (Form_Load, Form_Resize, Form_KeyDown, Form_MouseMove, Form_Unload).
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

class QEventLoop;
#include <string>

namespace ui {

class Form : public QWidget {
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    std::string Caption() const;
    void setCaption(const std::string& text);

    // Outer size and position, in twips.
    int32_t Left() const;
    int32_t Top() const;
    int32_t Width() const;
    int32_t Height() const;
    void Move(int32_t left, int32_t top);
    // The client area, in twips.
    int32_t ScaleWidth() const;
    int32_t ScaleHeight() const;
    void setClientSize(int32_t widthTwips, int32_t heightTwips);

    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t bgr);

    // Runs Form_Load once; Show loads a form that is not loaded yet.
    void Load();
    bool Loaded() const { return loaded_; }
    void Show();
    void Hide();
    // Asks Form_Unload (which may cancel), then hides the window; true when it was unloaded.
    bool Unload();
    // Runs after each unload, once the window is hidden: the owner learns of it at once, not at its next
    // look.
    void setUnloadedHandler(std::function<void()> handler) { unloaded_ = std::move(handler); }
    // Shows the form modal, owned by owner, and returns once it is hidden or unloaded. Until then
    // the user reaches no other window, while timers and other events go on being delivered.
    void ShowModal(QWidget* owner);
    // Shows the form without blocking any window and returns once it is hidden, unloaded or destroyed,
    // or the program ends; events go on being delivered meanwhile, to every window.
    void ShowAndWait();

    // Makes the form a borderless popup that never takes the focus: shown over its owner, it leaves the
    // active window and the keyboard focus where they were. Call it before the form is first shown.
    void setPopupWithoutFocus();

    // With key preview the form sees every key before the control that has the focus.
    bool KeyPreview() const { return keyPreview_; }
    void setKeyPreview(bool on);

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    // KeyCode is a virtual-key code; setting it to 0 keeps the key from the control.
    virtual void Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
        (void)KeyCode;
        (void)Shift;
    }
    virtual void Form_Unload(int16_t& Cancel) { (void)Cancel; }
    // The pointer over the bare form (no control under it), held button or not; X and Y in twips.
    virtual void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
        (void)Button;
        (void)Shift;
        (void)X;
        (void)Y;
    }

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEventLoop* modalLoop_ = nullptr;
    std::function<void()> unloaded_;
    bool loaded_ = false;
    bool keyPreview_ = false;
    int32_t backColor_ = 0x8000000F;
};

// The virtual-key code of a Qt key, 0 for keys without one.
int16_t virtualKey(int qtKey);

} // namespace ui
