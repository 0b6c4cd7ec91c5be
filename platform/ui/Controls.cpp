// Controls over Qt widgets. Values set from code go in under a signal blocker, and the wrapper runs the
// handler itself when the value changed; user changes arrive through Qt's signals and take the same path.
#include "platform/ui/Controls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"

namespace ui {

QColor systemColour(int index) {
    const QPalette palette = QApplication::palette();
    return palette.color(index == 15 ? QPalette::Button : QPalette::Window);
}

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string s(const QString& q) {
    return q.toStdString();
}

int16_t buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int16_t shiftOf(Qt::KeyboardModifiers m) {
    return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                (m & Qt::AltModifier ? 4 : 0));
}

// Marks a widget whose events a control's handlers receive.
constexpr const char* kWatchedProperty = "nerixControl";

// Delivers mouse, key and focus events of one widget to its control's handlers.
class EventWatcher final : public QObject {
public:
    EventWatcher(QWidget* w, Control& control) : QObject(w), control_(control) {
        w->setProperty(kWatchedProperty, true);
        w->installEventFilter(this);
        // The pointer moving over a control is an event whether or not a button is held.
        w->setMouseTracking(true);
    }
    Handler* click = nullptr;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::MouseButtonDblClick:
            return mouse(static_cast<QMouseEvent*>(e));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return key(static_cast<QKeyEvent*>(e));
        case QEvent::FocusOut: {
            // A drop-down list or popup menu opening (the keyboard goes into it while it is open), or
            // another window taking the keyboard, moves no focus within the window: the control has
            // not been left.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
            const bool left = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                              !QApplication::activePopupWidget();
            if (left && control_.LostFocus) runGuarded(control_.LostFocus, "LostFocus");
            return false;
        }
        default:
            return false;
        }
    }

private:
    // The platform gives a mouse event to the control under the pointer alone, while Qt offers what a
    // child ignores to its parents: a parent leaves alone what lies over one of its visible child
    // controls (a shape lets the pointer through to what lies below it).
    bool overChildControl(const QMouseEvent* m) const {
        const auto* self = static_cast<const QWidget*>(parent());
        for (const QWidget* c = self->childAt(m->position().toPoint()); c && c != self; c = c->parentWidget())
            if (c->property(kWatchedProperty).toBool()) return true;
        return false;
    }

    bool mouse(QMouseEvent* m) {
        if (overChildControl(m)) return false;
        const auto type = m->type();
        const QPointF at = control_.mousePosition(m->position());
        const auto x = static_cast<float>(at.x());
        const auto y = static_cast<float>(at.y());
        const int16_t shift = shiftOf(m->modifiers());
        if (type == QEvent::MouseButtonDblClick) {
            // Qt delivers the second press of a double click as the double click alone.
            if (m->button() == Qt::LeftButton) {
                afterDoubleClick_ = true;
                if (control_.DblClick) runGuarded(control_.DblClick, "DblClick");
            }
            return false;
        }
        const int16_t button =
            type == QEvent::MouseMove ? static_cast<int16_t>(m->buttons() & 7) : buttonOf(m->button());
        const MouseHandler* handler = type == QEvent::MouseButtonPress     ? &control_.MouseDown
                                      : type == QEvent::MouseButtonRelease ? &control_.MouseUp
                                                                           : &control_.MouseMove;
        if (*handler) runGuarded([&] { (*handler)(button, shift, x, y); }, "MouseEvent");
        if (type == QEvent::MouseButtonRelease && button == 1) {
            const bool clicked = !afterDoubleClick_;
            afterDoubleClick_ = false;
            if (clicked && click && *click &&
                static_cast<QWidget*>(parent())->rect().contains(m->position().toPoint()))
                runGuarded(*click, "Click");
        }
        return false;
    }

    bool key(QKeyEvent* k) {
        const bool press = k->type() == QEvent::KeyPress;
        // Under X11 a held key sends a release before each repeated press; it was never let go.
        if (!press && k->isAutoRepeat()) return false;
        const KeyHandler& handler = press ? control_.KeyDown : control_.KeyUp;
        if (!handler) return false;
        int16_t code = virtualKey(k->key());
        if (code == 0) return false;
        runGuarded([&] { handler(code, shiftOf(k->modifiers())); }, press ? "KeyDown" : "KeyUp");
        return code == 0;
    }

    Control& control_;
    bool afterDoubleClick_ = false;
};

} // namespace

bool isControlWidget(const QWidget* w) {
    return w && w->property(kWatchedProperty).toBool();
}

namespace {

// How one axis of a container maps its units to pixels: twips on forms and frames, the picture's user
// scale in a picture box.
struct Axis {
    double origin = 0;
    double unitsPerPixel = kTwipsPerPixel;

    int toPixel(double position) const { return runtime::CLng((position - origin) / unitsPerPixel); }
    double fromPixel(int pixel) const { return origin + pixel * unitsPerPixel; }
    int toPixels(double length) const {
        return std::max(0, runtime::CLng(length / std::fabs(unitsPerPixel)));
    }
    double fromPixels(int pixels) const { return pixels * std::fabs(unitsPerPixel); }
};

// The scale spans the picture box as it is now; its surface follows a resize only once it is shown.
Axis xAxisOf(const QWidget* w) {
    const QWidget* box = w->parentWidget();
    if (const PictureSurface* s = pictureSurfaceOf(box))
        return {s->ScaleLeft(), s->ScaleWidth() / std::max(box->width(), 1)};
    return {};
}
Axis yAxisOf(const QWidget* w) {
    const QWidget* box = w->parentWidget();
    if (const PictureSurface* s = pictureSurfaceOf(box))
        return {s->ScaleTop(), s->ScaleHeight() / std::max(box->height(), 1)};
    return {};
}

template <class F> void silently(QObject* o, F&& f) {
    const QSignalBlocker block(o);
    f();
}

// Texts keep their CR LF line breaks; Qt shows a bare LF as the line break.
QString shown(const std::string& text) {
    return q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Whether a sorted list puts a before b: by text, letter case aside.
bool sortsBefore(const std::string& a, const std::string& b) {
    return runtime::foldCase(runtime::toU32(a)) < runtime::foldCase(runtime::toU32(b));
}

} // namespace

void runGuarded(const Handler& handler, const char* source) {
    if (!handler) return;
    try {
        handler();
    } catch (const runtime::RuntimeError& e) {
        const std::string text = "Run-time error '" + std::to_string(e.Number()) + "': " + e.Description();
        runtime::AddLog(std::string(source) + ": " + text);
        runtime::MsgBox(text, runtime::mb::kCritical);
    } catch (const std::exception& e) {
        runtime::AddLog(std::string(source) + ": " + e.what());
        runtime::MsgBox(e.what(), runtime::mb::kCritical);
    }
}

void setTabOrder(std::initializer_list<const Control*> controls) {
    const Control* previous = nullptr;
    for (const Control* c : controls) {
        if (previous) QWidget::setTabOrder(previous->widget(), c->widget());
        previous = c;
    }
}

// ---- Control

Control::Control(QWidget* widget) : widget_(widget) {
    mouseWatcher_ = new EventWatcher(widget, *this);
}

Control::~Control() {
    delete widget_.data();
}

void Control::watchClicks(Handler* click) {
    static_cast<EventWatcher*>(mouseWatcher_)->click = click;
}

QPointF Control::mousePosition(QPointF pixel) const {
    return pixel * kTwipsPerPixel;
}

double Control::Left() const {
    return xAxisOf(widget_).fromPixel(widget_->x());
}
double Control::Top() const {
    return yAxisOf(widget_).fromPixel(widget_->y());
}
double Control::Width() const {
    return xAxisOf(widget_).fromPixels(widget_->width());
}
double Control::Height() const {
    return yAxisOf(widget_).fromPixels(widget_->height());
}
void Control::setLeft(double left) {
    widget_->move(xAxisOf(widget_).toPixel(left), widget_->y());
}
void Control::setTop(double top) {
    widget_->move(widget_->x(), yAxisOf(widget_).toPixel(top));
}
void Control::setWidth(double width) {
    widget_->resize(xAxisOf(widget_).toPixels(width), widget_->height());
}
void Control::setHeight(double height) {
    widget_->resize(widget_->width(), yAxisOf(widget_).toPixels(height));
}
void Control::Move(double left, double top, double width, double height) {
    const Axis x = xAxisOf(widget_);
    const Axis y = yAxisOf(widget_);
    widget_->setGeometry(x.toPixel(left), y.toPixel(top), x.toPixels(width), y.toPixels(height));
}

void Control::SetFocus() {
    if (!widget_->isVisible() || !widget_->isEnabled())
        runtime::raise(runtime::err::kInvalidCall, "SetFocus");
    widget_->setFocus(Qt::OtherFocusReason);
}

void Control::Refresh() {
    widget_->repaint();
}

void Control::ZOrder(int16_t position) {
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

bool Control::Visible() const {
    return !widget_->isHidden();
}
void Control::setVisible(bool on) {
    widget_->setVisible(on);
}
bool Control::Enabled() const {
    return widget_->isEnabled();
}
void Control::setEnabled(bool on) {
    widget_->setEnabled(on);
}

void Control::setForeColor(int32_t bgr) {
    foreColor_ = bgr;
    QPalette p = widget_->palette();
    p.setColor(QPalette::WindowText, toQColor(bgr));
    p.setColor(QPalette::ButtonText, toQColor(bgr));
    p.setColor(QPalette::Text, toQColor(bgr));
    widget_->setPalette(p);
}

void Control::setBackColor(int32_t bgr) {
    backColor_ = bgr;
    QPalette p = widget_->palette();
    p.setColor(QPalette::Window, toQColor(bgr));
    // A check box's or option button's back colour lies behind its caption, a slider's behind its groove;
    // the box, circle, groove and handle keep the platform's own colours (see keepIndicatorColours), so
    // they still show on a dark window.
    const bool indicator = qobject_cast<QCheckBox*>(widget_) || qobject_cast<QRadioButton*>(widget_) ||
                           qobject_cast<QSlider*>(widget_);
    if (!indicator) {
        p.setColor(QPalette::Button, toQColor(bgr));
        p.setColor(QPalette::Base, toQColor(bgr));
    }
    widget_->setPalette(p);
    widget_->setAutoFillBackground(fillsBackground());
}

std::string Control::FontName() const {
    return s(widget_->font().family());
}
void Control::setFontName(const std::string& name) {
    QFont f = widget_->font();
    if (runtime::equalsNoCase(name, "Courier New"))
        f.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    else
        f.setFamily(q(name));
    widget_->setFont(f);
}
double Control::FontSize() const {
    return widget_->font().pointSizeF();
}
void Control::setFontSize(double points) {
    if (!(points > 0)) runtime::raise(err::kInvalidPropertyValue, "FontSize", "Invalid property value");
    QFont f = widget_->font();
    f.setPointSizeF(points);
    widget_->setFont(f);
}
bool Control::FontBold() const {
    return widget_->font().bold();
}
void Control::setFontBold(bool on) {
    QFont f = widget_->font();
    f.setBold(on);
    widget_->setFont(f);
}

std::string Control::ToolTipText() const {
    return s(widget_->toolTip());
}
void Control::setToolTipText(const std::string& text) {
    widget_->setToolTip(q(text));
}

// ---- Label

Label::Label(QWidget* parent, const std::string& caption)
    : Control(new QLabel(shown(caption), parent)), caption_(caption) {
    // A caption is text, never markup.
    label()->setTextFormat(Qt::PlainText);
    watchClicks(&Click);
}
QLabel* Label::label() const {
    return static_cast<QLabel*>(widget());
}
void Label::setCaption(const std::string& text) {
    caption_ = text;
    label()->setText(shown(text));
    fitCaption();
}
void Label::setAutoSize(bool on) {
    autoSize_ = on;
    fitCaption();
}
void Label::setWordWrap(bool on) {
    label()->setWordWrap(on);
    fitCaption();
}
void Label::fitCaption() {
    if (autoSize_) label()->resize(label()->sizeHint());
}
void Label::setAlignment(int16_t alignment) {
    const Qt::Alignment h = alignment == 1   ? Qt::AlignRight
                            : alignment == 2 ? Qt::AlignHCenter
                                             : Qt::AlignLeft;
    label()->setAlignment(h | Qt::AlignTop);
}
void Label::setBorderStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Label.BorderStyle", "Invalid property value");
    borderStyle_ = style;
    label()->setFrameStyle(style == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label()->setLineWidth(1);
    fitCaption();
}
void Label::setBackStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Label.BackStyle", "Invalid property value");
    backStyle_ = style;
    widget()->setAutoFillBackground(fillsBackground());
    widget()->update();
}

// ---- CommandButton

CommandButton::CommandButton(QWidget* parent, const std::string& caption)
    : Control(new QPushButton(q(caption), parent)) {
    QObject::connect(button(), &QPushButton::clicked, button(), [this] { runGuarded(Click, "Click"); });
}
QPushButton* CommandButton::button() const {
    return static_cast<QPushButton*>(widget());
}
std::string CommandButton::Caption() const {
    return s(button()->text());
}
void CommandButton::setCaption(const std::string& text) {
    button()->setText(q(text));
}
void CommandButton::setValue(bool pressed) {
    if (pressed && Click) Click();
}
void CommandButton::setPicture(const QImage& picture) {
    QImage face = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if ((face.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) face.setPixel(x, y, 0);
    button()->setIcon(QIcon(QPixmap::fromImage(face)));
    button()->setIconSize(face.size());
    // A graphical button shows its face in its back colour, flat, as the style would tint a gradient.
    button()->setFlat(true);
    setBackColor(BackColor());
}

// ---- CheckBox

namespace {

// The tick box, the option circle and a slider's groove and handle are drawn in the palette's base and
// button colours: they keep the platform's own, rather than the dark ones a frame around them may have
// been given, as each control has colours of its own.
void keepIndicatorColours(QWidget* w) {
    QPalette p = w->palette();
    const QPalette platform = QApplication::palette(w);
    p.setColor(QPalette::Base, platform.color(QPalette::Base));
    p.setColor(QPalette::Button, platform.color(QPalette::Button));
    w->setPalette(p);
    // The back colour, which fills the rest, is the window role's.
    w->setBackgroundRole(QPalette::Window);
}

} // namespace

CheckBox::CheckBox(QWidget* parent, const std::string& caption) : Control(new QCheckBox(q(caption), parent)) {
    box()->setTristate(false);
    keepIndicatorColours(box());
    QObject::connect(box(), &QCheckBox::stateChanged, box(), [this](int state) {
        const auto v = static_cast<int16_t>(state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0);
        if (v == value_) return;
        value_ = v;
        runGuarded(Click, "Click");
    });
}
QCheckBox* CheckBox::box() const {
    return static_cast<QCheckBox*>(widget());
}
std::string CheckBox::Caption() const {
    return s(box()->text());
}
void CheckBox::setCaption(const std::string& text) {
    box()->setText(q(text));
}
void CheckBox::setValue(int16_t value) {
    if (value < 0 || value > 2)
        runtime::raise(err::kInvalidPropertyValue, "CheckBox.Value", "Invalid property value");
    if (value == value_) return;
    value_ = value;
    silently(box(), [&] {
        if (value == 2) box()->setTristate(true);
        box()->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        if (value != 2) box()->setTristate(false);
    });
    if (Click) Click();
}

// ---- OptionButton

// Qt's automatic exclusivity reaches into nested containers; option buttons group by their direct
// container, so each container gets a button group of its own.
QButtonGroup* optionGroupOf(QWidget* parent) {
    auto* group = parent->findChild<QButtonGroup*>("optionGroup", Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(parent);
        group->setObjectName("optionGroup");
    }
    return group;
}

OptionButton::OptionButton(QWidget* parent, const std::string& caption)
    : Control(new QRadioButton(q(caption), parent)) {
    button()->setAutoExclusive(false);
    keepIndicatorColours(button());
    optionGroupOf(parent)->addButton(button());
    QObject::connect(button(), &QRadioButton::toggled, button(), [this](bool on) {
        if (on == value_) return;
        value_ = on;
        if (on) runGuarded(Click, "Click");
    });
}
QRadioButton* OptionButton::button() const {
    return static_cast<QRadioButton*>(widget());
}
std::string OptionButton::Caption() const {
    return s(button()->text());
}
void OptionButton::setCaption(const std::string& text) {
    button()->setText(q(text));
}
void OptionButton::setValue(bool selected) {
    if (selected == value_) return;
    value_ = selected;
    silently(button(), [&] {
        // An exclusive group refuses to clear its button; clearing from code is allowed.
        QButtonGroup* group = button()->group();
        group->setExclusive(selected);
        button()->setChecked(selected);
        group->setExclusive(true);
    });
    if (selected && Click) Click();
}

// ---- TextBox

TextBox::TextBox(QWidget* parent, const std::string& text, bool multiLine)
    : Control(multiLine ? static_cast<QWidget*>(new QPlainTextEdit(q(text), parent))
                        : static_cast<QWidget*>(new QLineEdit(q(text), parent))),
      text_(text), multiLine_(multiLine) {
    if (multiLine)
        QObject::connect(lines(), &QPlainTextEdit::textChanged, lines(),
                         [this] { userEdited(s(lines()->toPlainText())); });
    else
        QObject::connect(edit(), &QLineEdit::textChanged, edit(),
                         [this](const QString& t) { userEdited(s(t)); });
}
QLineEdit* TextBox::edit() const {
    return static_cast<QLineEdit*>(widget());
}
QPlainTextEdit* TextBox::lines() const {
    return static_cast<QPlainTextEdit*>(widget());
}
void TextBox::userEdited(std::string now) {
    if (now == text_) return;
    text_ = std::move(now);
    runGuarded(Change, "Change");
}
void TextBox::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (multiLine_)
        silently(lines(), [&] { lines()->setPlainText(q(text)); });
    else
        silently(edit(), [&] { edit()->setText(q(text)); });
    if (Change) Change();
}
bool TextBox::Locked() const {
    return multiLine_ ? lines()->isReadOnly() : edit()->isReadOnly();
}
void TextBox::setLocked(bool on) {
    if (multiLine_)
        lines()->setReadOnly(on);
    else
        edit()->setReadOnly(on);
}

// ---- ListControl

void ListControl::checkIndex(int32_t index, const char* member) const {
    if (index < 0 || index >= rowCount())
        runtime::raise(err::kInvalidPropertyArrayIndex, member, "Invalid property array index");
}

void ListControl::AddItem(const std::string& text, int32_t index) {
    if (index == -1) {
        index = rowCount();
        if (sorted_)
            while (index > 0 && sortsBefore(text, rowText(index - 1)))
                --index;
    }
    if (index < 0 || index > rowCount()) runtime::raise(runtime::err::kInvalidCall, "AddItem");
    insertRow(index, text);
    itemData_.insert(itemData_.begin() + index, 0);
    newIndex_ = index;
    if (listIndex_ >= index) ++listIndex_;
    showRow(listIndex_);
}

void ListControl::RemoveItem(int32_t index) {
    if (index < 0 || index >= rowCount()) runtime::raise(runtime::err::kInvalidCall, "RemoveItem");
    removeRow(index);
    itemData_.erase(itemData_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    showRow(listIndex_);
}

void ListControl::Clear() {
    clearRows();
    itemData_.clear();
    listIndex_ = -1;
}

int32_t ListControl::ListCount() const {
    return rowCount();
}

std::string ListControl::List(int32_t index) const {
    // Reading past the end gives empty text, not an error.
    if (index < 0 || index >= rowCount()) return {};
    return rowText(index);
}

int32_t ListControl::ItemData(int32_t index) const {
    checkIndex(index, "ItemData");
    return itemData_[static_cast<std::size_t>(index)];
}

void ListControl::setItemData(int32_t index, int32_t data) {
    checkIndex(index, "ItemData");
    itemData_[static_cast<std::size_t>(index)] = data;
}

void ListControl::setListIndex(int32_t index) {
    if (index < -1 || index >= rowCount())
        runtime::raise(err::kInvalidPropertyValue, "ListIndex", "Invalid property value");
    if (index == listIndex_) return;
    listIndex_ = index;
    showRow(index);
    if (Click) Click();
}

void ListControl::forgetSelection() {
    listIndex_ = -1;
}

void ListControl::userSelected(int row) {
    if (row == listIndex_ || row < 0) return;
    listIndex_ = row;
    runGuarded(Click, "Click");
}

// ---- ListBox

ListBox::ListBox(QWidget* parent) : ListControl(new QListWidget(parent)) {
    QObject::connect(list(), &QListWidget::currentRowChanged, list(), [this](int row) { userSelected(row); });
}
QListWidget* ListBox::list() const {
    return static_cast<QListWidget*>(widget());
}
int ListBox::rowCount() const {
    return list()->count();
}
void ListBox::insertRow(int row, const std::string& text) {
    silently(list(), [&] { list()->insertItem(row, q(text)); });
}
void ListBox::removeRow(int row) {
    silently(list(), [&] { delete list()->takeItem(row); });
}
void ListBox::clearRows() {
    silently(list(), [&] { list()->clear(); });
}
std::string ListBox::rowText(int row) const {
    return s(list()->item(row)->text());
}
void ListBox::showRow(int row) {
    silently(list(), [&] {
        list()->setCurrentRow(row);
        if (row >= 0) list()->scrollToItem(list()->item(row));
    });
}

// ---- ComboBox

ComboBox::ComboBox(QWidget* parent, Style style) : ListControl(new QComboBox(parent)), style_(style) {
    if (style == kDropdownList) {
        QObject::connect(combo(), &QComboBox::currentIndexChanged, combo(),
                         [this](int row) { userSelected(row); });
        return;
    }
    combo()->setEditable(true);
    // What the user types stays as typed: it neither becomes an item nor completes to one.
    combo()->setInsertPolicy(QComboBox::NoInsert);
    combo()->setCompleter(nullptr);
    // Choosing an item is reported even when Qt still holds it as current under typed text.
    QObject::connect(combo(), &QComboBox::activated, combo(), [this](int row) { userSelected(row); });
    QObject::connect(combo()->lineEdit(), &QLineEdit::textEdited, combo(), [this](const QString&) {
        forgetSelection();
        runGuarded(Change, "Change");
    });
}
QComboBox* ComboBox::combo() const {
    return static_cast<QComboBox*>(widget());
}
std::string ComboBox::Text() const {
    if (style_ == kDropdownCombo) return s(combo()->currentText());
    return ListIndex() < 0 ? std::string{} : rowText(ListIndex());
}
int ComboBox::rowCount() const {
    return combo()->count();
}
void ComboBox::insertRow(int row, const std::string& text) {
    silently(combo(), [&] { combo()->insertItem(row, q(text)); });
}
void ComboBox::removeRow(int row) {
    silently(combo(), [&] { combo()->removeItem(row); });
}
void ComboBox::clearRows() {
    silently(combo(), [&] { combo()->clear(); });
}
std::string ComboBox::rowText(int row) const {
    return s(combo()->itemText(row));
}
void ComboBox::showRow(int row) {
    silently(combo(), [&] {
        combo()->setCurrentIndex(row);
        // An editable box keeps its typed text while nothing is chosen; a choice shows the item's.
        if (style_ == kDropdownCombo && row >= 0) combo()->setEditText(combo()->itemText(row));
    });
}

// ---- Slider

Slider::Slider(QWidget* parent) : Control(new QSlider(Qt::Horizontal, parent)) {
    slider()->setRange(0, 10);
    keepIndicatorColours(slider());
    QObject::connect(slider(), &QSlider::valueChanged, slider(), [this](int v) { follow(v); });
}
QSlider* Slider::slider() const {
    return static_cast<QSlider*>(widget());
}
int32_t Slider::Min() const {
    return slider()->minimum();
}
int32_t Slider::Max() const {
    return slider()->maximum();
}
void Slider::follow(int v) {
    if (v == value_) return;
    value_ = v;
    runGuarded(Change, "Change");
    runGuarded(Scroll, "Scroll");
}
void Slider::setMin(int32_t value) {
    silently(slider(), [&] { slider()->setMinimum(value); });
    if (slider()->value() != value_) {
        value_ = slider()->value();
        if (Change) Change();
    }
}
void Slider::setMax(int32_t value) {
    silently(slider(), [&] { slider()->setMaximum(value); });
    if (slider()->value() != value_) {
        value_ = slider()->value();
        if (Change) Change();
    }
}
void Slider::setValue(int32_t value) {
    if (value < Min() || value > Max())
        runtime::raise(err::kInvalidPropertyValue, "Slider.Value", "Invalid property value");
    if (value == value_) return;
    value_ = value;
    silently(slider(), [&] { slider()->setValue(value); });
    if (Change) Change();
}
int32_t Slider::SmallChange() const {
    return slider()->singleStep();
}
void Slider::setSmallChange(int32_t step) {
    slider()->setSingleStep(step);
}
int32_t Slider::LargeChange() const {
    return slider()->pageStep();
}
void Slider::setLargeChange(int32_t step) {
    slider()->setPageStep(step);
}
void Slider::setOrientation(int16_t orientation) {
    if (orientation != 0 && orientation != 1)
        runtime::raise(err::kInvalidPropertyValue, "Slider.Orientation", "Invalid property value");
    orientation_ = orientation;
    slider()->setOrientation(orientation == 1 ? Qt::Vertical : Qt::Horizontal);
    // Qt puts a vertical slider's minimum at the bottom; ours stands at the top, and the arrow keys
    // move the handle the way they point.
    slider()->setInvertedAppearance(orientation == 1);
    slider()->setInvertedControls(orientation == 1);
}
int32_t Slider::TickFrequency() const {
    return slider()->tickPosition() == QSlider::NoTicks ? 0 : slider()->tickInterval();
}
void Slider::setTickFrequency(int32_t positions) {
    slider()->setTickInterval(std::max(positions, 0));
    slider()->setTickPosition(positions > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
}

// ---- TabStrip

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

// A frame's box; a bare one is a plain opaque page, without border or caption.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}
    bool bare = false;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!bare) {
            QGroupBox::paintEvent(event);
            return;
        }
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
    }
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

// ---- Shape

namespace {

class ShapeWidget final : public QWidget {
public:
    ShapeWidget(QWidget* parent, const Shape& shape) : QWidget(parent), shape_(shape) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (shape_.BackStyle() == 1) p.fillRect(rect(), toQColor(shape_.BackColor()));
        p.setPen(toQColor(shape_.BorderColor()));
        p.setBrush(shape_.FillStyle() == 0 ? QBrush(toQColor(shape_.FillColor())) : QBrush(Qt::NoBrush));
        QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const int16_t kind = shape_.ShapeKind();
        if (kind == Shape::kSquare || kind == Shape::kCircle || kind == Shape::kRoundedSquare) {
            const double side = std::min(r.width(), r.height());
            r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
        }
        if (kind == Shape::kOval || kind == Shape::kCircle) {
            p.drawEllipse(r);
        } else if (kind == Shape::kRoundedRectangle || kind == Shape::kRoundedSquare) {
            const double radius = std::min(r.width(), r.height()) / 6;
            p.drawRoundedRect(r, radius, radius);
        } else {
            p.drawRect(r);
        }
    }

private:
    const Shape& shape_;
};

} // namespace

Shape::Shape(QWidget* parent) : Control(new ShapeWidget(parent, *this)) {}

void Shape::setShape(int16_t kind) {
    if (kind < kRectangle || kind > kRoundedSquare)
        runtime::raise(err::kInvalidPropertyValue, "Shape.Shape", "Invalid property value");
    shape_ = kind;
    widget()->update();
}
void Shape::setFillColor(int32_t bgr) {
    fillColor_ = bgr;
    widget()->update();
}
void Shape::setFillStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Shape.FillStyle", "Invalid property value");
    fillStyle_ = style;
    widget()->update();
}
void Shape::setBorderColor(int32_t bgr) {
    borderColor_ = bgr;
    widget()->update();
}
void Shape::setBackStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Shape.BackStyle", "Invalid property value");
    backStyle_ = style;
    widget()->update();
}

// ---- Frame

Frame::Frame(QWidget* parent, const std::string& caption) : Control(new FrameBox(q(caption), parent)) {
    box()->setAutoFillBackground(true);
    watchClicks(&Click);
}
void Frame::setBorderStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Frame.BorderStyle", "Invalid property value");
    borderStyle_ = style;
    static_cast<FrameBox*>(box())->bare = style == 0;
    box()->update();
}
QGroupBox* Frame::box() const {
    return static_cast<QGroupBox*>(widget());
}
std::string Frame::Caption() const {
    return s(box()->title());
}
void Frame::setCaption(const std::string& text) {
    box()->setTitle(q(text));
}

} // namespace ui
