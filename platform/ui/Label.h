// A label: a caption the program sets, with an optional single-line border and a transparent back.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Control.h"

class QLabel;

namespace ui {

class Label final : public Control {
public:
    explicit Label(QWidget* parent, const std::string& caption = {});
    // The caption as set; CR LF shows as a line break.
    std::string Caption() const { return caption_; }
    void setCaption(const std::string& text);
    // 0 left, 1 right, 2 centre.
    void setAlignment(int16_t alignment);
    // 0 none, 1 a fixed single line round the label; others are an invalid property value.
    int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t style);
    // 0 transparent (what lies behind the label shows through its BackColor), 1 opaque; others are an
    // invalid property value.
    int16_t BackStyle() const { return backStyle_; }
    void setBackStyle(int16_t style);
    // An auto-sized label takes the size of its caption at each change of caption or font.
    void setAutoSize(bool on);
    // A word-wrapping caption breaks its lines at the label's width.
    void setWordWrap(bool on);
    Handler Click;

private:
    QLabel* label() const;
    void fitCaption();
    bool fillsBackground() const override { return backStyle_ == 1; }
    std::string caption_;
    bool autoSize_ = false;
    int16_t borderStyle_ = 0;
    int16_t backStyle_ = 1;
};

} // namespace ui
