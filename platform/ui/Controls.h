// Controls in the terms the windows are written in: twips geometry, 0x00BBGGRR colours, and handlers
// that run when a value really changes, whether the user or code changed it (and never otherwise).
#pragma once

#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/runtime/RuntimeError.h"

class QCheckBox;
class QImage;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabBar;

namespace ui {

using Handler = std::function<void()>;
// Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips, or in the user
// scale of a picture box.
using MouseHandler = std::function<void(int16_t Button, int16_t Shift, float X, float Y)>;
// KeyCode is a virtual-key code (see virtualKey); setting it to 0 keeps the key from the
// control.
using KeyHandler = std::function<void(int16_t& KeyCode, int16_t Shift)>;

namespace err {
inline constexpr int32_t kInvalidPropertyValue = runtime::err::kInvalidPropertyValue;
inline constexpr int32_t kInvalidPropertyArrayIndex = runtime::err::kInvalidPropertyArrayIndex;
} // namespace err

// Runs a handler at a Qt boundary: a run-time error is reported (trace log and message box), never
// thrown into Qt.
void runGuarded(const Handler& handler, const char* source);

class Control;
// The order in which the Tab key moves the focus through these controls, first to last.
void setTabOrder(std::initializer_list<const Control*> controls);

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    QWidget* widget() const { return widget_; }

    // Geometry in the container's scale: twips on a form or frame, the picture's user scale for a
    // control placed in a picture box. Positions land on whole pixels.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double left);
    void setTop(double top);
    void setWidth(double width);
    void setHeight(double height);
    void Move(double left, double top, double width, double height);

    // The control's own setting: a visible control inside a hidden window still reads True.
    bool Visible() const;
    void setVisible(bool on);
    bool Enabled() const;
    void setEnabled(bool on);

    int32_t ForeColor() const { return foreColor_; }
    void setForeColor(int32_t bgr);
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t bgr);

    std::string FontName() const;
    // "Courier New" names the system's fixed-pitch face.
    void setFontName(const std::string& name);
    double FontSize() const;
    void setFontSize(double points);
    bool FontBold() const;
    void setFontBold(bool on);

    std::string ToolTipText() const;
    void setToolTipText(const std::string& text);

    // The index within a control array, -1 for a single control.
    int16_t Index() const { return index_; }
    void setIndex(int16_t index) { index_ = index; }

    // Text the program keeps with the control; the control itself never reads it.
    std::string Tag;

    // Gives the control the keyboard focus; a hidden or disabled control raises Invalid procedure call.
    void SetFocus();
    // 0 brings the control in front of its siblings, 1 puts it behind them.
    void ZOrder(int16_t position = 0);
    // Repaints the control at once instead of at the next idle paint (a read-out that follows a drag).
    void Refresh();

    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    // A left double click: MouseDown, MouseUp, the click, DblClick, MouseUp (no second click).
    Handler DblClick;
    // Keys while the control has the focus. A held key repeats KeyDown; the releases the X server sends
    // between repeats are dropped, so KeyUp comes once, when the key is really released.
    KeyHandler KeyDown;
    KeyHandler KeyUp;
    Handler LostFocus;

    // Where a mouse event at this pixel of the control is reported: twips, or the picture's user scale.
    virtual QPointF mousePosition(QPointF pixel) const;

protected:
    explicit Control(QWidget* widget);
    // Label and frame clicks come from the mouse, not from a Qt signal.
    void watchClicks(Handler* click);
    // Whether a background colour set fills the control's rectangle.
    virtual bool fillsBackground() const { return true; }

private:
    QPointer<QWidget> widget_;
    QObject* mouseWatcher_ = nullptr;
    int32_t foreColor_ = 0x000000;
    int32_t backColor_ = 0x8000000F; // the system colour of button faces, until set
    int16_t index_ = -1;
};

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

class CommandButton final : public Control {
public:
    explicit CommandButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    // Setting True presses the button from code: Click runs.
    void setValue(bool pressed);
    // Makes a graphical button with this face picture, shown at its own size; pure white is its mask
    // colour and shows the button's face (BackColor, filled flat) through it. A disabled button shows it
    // greyed.
    void setPicture(const QImage& picture);
    Handler Click;

private:
    QPushButton* button() const;
};

class CheckBox final : public Control {
public:
    explicit CheckBox(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    // 0 unticked, 1 ticked, 2 greyed.
    int16_t Value() const { return value_; }
    void setValue(int16_t value);
    Handler Click;

private:
    QCheckBox* box() const;
    int16_t value_ = 0;
};

// Option buttons with the same parent form one group: selecting one clears the others, whose handlers
// do not run.
class OptionButton final : public Control {
public:
    explicit OptionButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    bool Value() const { return value_; }
    void setValue(bool selected);
    Handler Click;

private:
    QRadioButton* button() const;
    bool value_ = false;
};

class TextBox final : public Control {
public:
    // A multi-line box wraps its text and shows line breaks; it is chosen when the box is made.
    explicit TextBox(QWidget* parent, const std::string& text = {}, bool multiLine = false);
    std::string Text() const { return text_; }
    void setText(const std::string& text);
    bool MultiLine() const { return multiLine_; }
    // A locked box shows its text and lets the user select and copy it, but not change it.
    bool Locked() const;
    void setLocked(bool on);
    Handler Change;

private:
    QLineEdit* edit() const;
    QPlainTextEdit* lines() const;
    void userEdited(std::string now);
    std::string text_;
    bool multiLine_ = false;
};

// What list and combo boxes share: items with item data and a selected index (-1 for none).
class ListControl : public Control {
public:
    // Without an index the item goes to the end, or, in a sorted list, to its place by text (letter
    // case aside, after equal texts); NewIndex tells where.
    void AddItem(const std::string& text, int32_t index = -1);
    int32_t NewIndex() const { return newIndex_; }
    bool Sorted() const { return sorted_; }
    void setSorted(bool on) { sorted_ = on; }
    void RemoveItem(int32_t index);
    void Clear();
    int32_t ListCount() const;
    std::string List(int32_t index) const;
    int32_t ItemData(int32_t index) const;
    void setItemData(int32_t index, int32_t data);
    int32_t ListIndex() const { return listIndex_; }
    void setListIndex(int32_t index);
    Handler Click;

protected:
    explicit ListControl(QWidget* widget) : Control(widget) {}
    void userSelected(int row);

    virtual int rowCount() const = 0;
    virtual void insertRow(int row, const std::string& text) = 0;
    virtual void removeRow(int row) = 0;
    virtual void clearRows() = 0;
    virtual std::string rowText(int row) const = 0;
    virtual void showRow(int row) = 0; // without signals

    // The selection forgotten without running Click: the user typed over it.
    void forgetSelection();

private:
    void checkIndex(int32_t index, const char* member) const;
    std::vector<int32_t> itemData_;
    int32_t listIndex_ = -1;
    int32_t newIndex_ = -1;
    bool sorted_ = false;
};

class ListBox final : public ListControl {
public:
    explicit ListBox(QWidget* parent);

private:
    QListWidget* list() const;
    int rowCount() const override;
    void insertRow(int row, const std::string& text) override;
    void removeRow(int row) override;
    void clearRows() override;
    std::string rowText(int row) const override;
    void showRow(int row) override;
};

// A drop-down list (the text is the selected item's), or a drop-down combo, into which the user may
// also type: typed text leaves no item selected and runs Change, choosing an item runs Click.
class ComboBox final : public ListControl {
public:
    enum Style : int16_t { kDropdownCombo = 0, kDropdownList = 2 };
    explicit ComboBox(QWidget* parent, Style style = kDropdownList);
    Style ComboStyle() const { return style_; }
    std::string Text() const;
    Handler Change;

private:
    Style style_;
    QComboBox* combo() const;
    int rowCount() const override;
    void insertRow(int row, const std::string& text) override;
    void removeRow(int row) override;
    void clearRows() override;
    std::string rowText(int row) const override;
    void showRow(int row) override;
};

class Slider final : public Control {
public:
    explicit Slider(QWidget* parent);
    int32_t Min() const;
    int32_t Max() const;
    // A range that no longer holds the value moves it to the nearer end, and Change runs.
    void setMin(int32_t value);
    void setMax(int32_t value);
    int32_t Value() const { return value_; }
    // Outside Min..Max is an invalid property value.
    void setValue(int32_t value);
    int32_t SmallChange() const;
    void setSmallChange(int32_t step);
    int32_t LargeChange() const;
    void setLargeChange(int32_t step);
    // 0 horizontal, Min on the left; 1 vertical, Min at the top. Others are an invalid property value.
    int16_t Orientation() const { return orientation_; }
    void setOrientation(int16_t orientation);
    // A tick mark beside the track every so many positions; 0 for none.
    int32_t TickFrequency() const;
    void setTickFrequency(int32_t positions);
    // Change runs for every change of Value, from code as from the user; Scroll only for the user's
    // moves (drag, track click, keys), so code that sets the position runs its own handler.
    Handler Change;
    Handler Scroll;

private:
    QSlider* slider() const;
    void follow(int value);
    int32_t value_ = 0;
    int16_t orientation_ = 0;
};

// Tabs are numbered from 1; SelectedItem is the selected tab's number, 0 while there is none.
class TabStrip final : public Control {
public:
    explicit TabStrip(QWidget* parent);
    void AddTab(const std::string& caption, const std::string& toolTip = {});
    int32_t TabCount() const;
    std::string TabCaption(int32_t number) const;
    std::string TabToolTipText(int32_t number) const;
    int32_t SelectedItem() const { return selected_; }
    void setSelectedItem(int32_t number);
    Handler Click;

private:
    QTabBar* bar() const;
    int32_t selected_ = 0;
};

// A line drawing: a rectangle, square, oval, circle or rounded one, outlined in BorderColor and filled
// in FillColor when FillStyle is solid. Mouse events pass through it to what lies below.
class Shape final : public Control {
public:
    enum Kind : int16_t { kRectangle = 0, kSquare, kOval, kCircle, kRoundedRectangle, kRoundedSquare };
    explicit Shape(QWidget* parent);
    int16_t ShapeKind() const { return shape_; }
    void setShape(int16_t kind);
    int32_t FillColor() const { return fillColor_; }
    void setFillColor(int32_t bgr);
    // 0 solid, 1 transparent.
    int16_t FillStyle() const { return fillStyle_; }
    void setFillStyle(int16_t style);
    int32_t BorderColor() const { return borderColor_; }
    void setBorderColor(int32_t bgr);
    // 0 transparent, 1 opaque: whether BackColor fills the rectangle behind the shape.
    int16_t BackStyle() const { return backStyle_; }
    void setBackStyle(int16_t style);

private:
    bool fillsBackground() const override { return false; }
    int16_t shape_ = kRectangle;
    int32_t fillColor_ = 0x000000;
    int16_t fillStyle_ = 1;
    int32_t borderColor_ = 0x000000;
    int16_t backStyle_ = 0;
};

// A captioned container; its option buttons form a group of their own. Children take container(). A
// frame is opaque, so one brought to the front covers those behind it.
class Frame final : public Control {
public:
    explicit Frame(QWidget* parent, const std::string& caption = {});
    QWidget* container() const { return widget(); }
    std::string Caption() const;
    void setCaption(const std::string& text);
    // 1 the captioned border, 0 none (a bare page).
    int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t style);
    Handler Click;

private:
    QGroupBox* box() const;
    int16_t borderStyle_ = 1;
};

} // namespace ui
