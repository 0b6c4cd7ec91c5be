// Forms over QWidget: twips geometry, load/unload, resize and key preview.
#include "platform/ui/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "platform/runtime/NestedLoops.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Control.h"
#include "platform/ui/QtSupport.h"
#include "platform/ui/SessionAnswers.h"
#include "platform/ui/Twips.h"

namespace ui {

const char* const kWaitingProperty = "nerixWaitedOn";

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window) {
    // The pointer moving over the bare form is an event whether or not a button is held.
    setMouseTracking(true);
}

Form::~Form() {
    if (keyPreview_ && qApp) qApp->removeEventFilter(this);
    if (modalLoop_) modalLoop_->quit();
}

std::string Form::Caption() const {
    return windowTitle().toStdString();
}
void Form::setCaption(const std::string& text) {
    setWindowTitle(QString::fromStdString(text));
}

int32_t Form::Left() const {
    return twips(frameGeometry().x());
}
int32_t Form::Top() const {
    return twips(frameGeometry().y());
}
int32_t Form::Width() const {
    return twips(frameGeometry().width());
}
int32_t Form::Height() const {
    return twips(frameGeometry().height());
}
void Form::Move(int32_t left, int32_t top) {
    move(pixels(left), pixels(top));
}
int32_t Form::ScaleWidth() const {
    return twips(width());
}
int32_t Form::ScaleHeight() const {
    return twips(height());
}
void Form::setClientSize(int32_t w, int32_t h) {
    const QSize before = size();
    resize(std::max(0, pixels(w)), std::max(0, pixels(h)));
    // Qt holds a hidden window's resize event until it is shown; the form hears of it at once.
    if (!isVisible() && size() != before) runGuarded([this] { Form_Resize(); }, "Form_Resize");
}

void Form::setBackColor(int32_t bgr) {
    backColor_ = bgr;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(bgr));
    setPalette(p);
    setAutoFillBackground(true);
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::Show() {
    Load();
    show();
}

void Form::Hide() {
    hide();
}

bool Form::Unload() {
    if (!loaded_) return true;
    int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel) return false;
    loaded_ = false;
    hide();
    if (unloaded_) unloaded_();
    return true;
}

void Form::ShowModal(QWidget* owner) {
    if (modalLoop_) runtime::raise(runtime::err::kInvalidCall, "Form.ShowModal", "Form already displayed");
    if (owner && parentWidget() != owner) setParent(owner, windowFlags());
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    try {
        Show();
    } catch (...) {
        modalLoop_ = nullptr;
        setWindowModality(Qt::NonModal);
        throw;
    }
    // A handler run by the load may already have closed the form; once the session ends nobody answers it.
    if (isVisible() && !runtime::sessionEnding()) {
        const runtime::NestedLoop nested;
        setProperty(kWaitingProperty, true);
        loop.exec();
        setProperty(kWaitingProperty, false);
    }
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

void Form::ShowAndWait() {
    if (modalLoop_) runtime::raise(runtime::err::kInvalidCall, "Form.ShowAndWait", "Form already displayed");
    // The form may be destroyed while the loop runs: only the guard is read after it.
    const QPointer<Form> self(this);
    QEventLoop loop;
    modalLoop_ = &loop;
    try {
        Show();
    } catch (...) {
        modalLoop_ = nullptr;
        throw;
    }
    if (isVisible() && !runtime::sessionEnding()) {
        const runtime::NestedLoop nested;
        setProperty(kWaitingProperty, true);
        loop.exec();
    }
    if (self) {
        self->modalLoop_ = nullptr;
        self->setProperty(kWaitingProperty, false);
    }
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_) modalLoop_->quit();
}

void Form::setPopupWithoutFocus() {
    // A tool-tip window is never handed the focus by the window system, with or without a window
    // manager; the attribute keeps Qt from activating it on show.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void Form::setKeyPreview(bool on) {
    if (on == keyPreview_) return;
    keyPreview_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    runGuarded([this] { Form_Resize(); }, "Form_Resize");
}

void Form::closeEvent(QCloseEvent* event) {
    bool unloaded = true;
    runGuarded([&] { unloaded = Unload(); }, "Form_Unload");
    if (unloaded)
        event->accept();
    else
        event->ignore();
}

void Form::mouseMoveEvent(QMouseEvent* event) {
    // Qt offers the form what a child control ignored; the form hears only of moves over itself.
    const QPoint at = event->position().toPoint();
    for (const QWidget* c = childAt(at); c && c != this; c = c->parentWidget())
        if (isControlWidget(c)) return;
    const int16_t shift = shiftOf(event->modifiers());
    const auto button = static_cast<int16_t>(event->buttons() & 7);
    const auto x = static_cast<float>(twips(at.x()));
    const auto y = static_cast<float>(twips(at.y()));
    runGuarded([&] { Form_MouseMove(button, shift, x, y); }, "Form_MouseMove");
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    // Qt offers the key to the focus widget and then to each parent: the form takes it at the first offer.
    QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (w != first || w->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    int16_t code = virtualKey(key->key());
    if (code == 0) return false;
    const int16_t shift = shiftOf(key->modifiers());
    runGuarded([&] { Form_KeyDown(code, shift); }, "Form_KeyDown");
    return code == 0;
}

int16_t virtualKey(int k) {
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return static_cast<int16_t>(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<int16_t>(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    default:
        return 0;
    }
}

} // namespace ui
