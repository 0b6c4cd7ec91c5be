// What the layer's Qt code shares: text across the boundary, values set from code without Qt's signals,
// the indicator colours, and the button and shift codes the mouse and key handlers take.
#pragma once

#include <QSignalBlocker>
#include <QString>
#include <Qt>
#include <cstdint>
#include <string>

class QWidget;

namespace ui {

inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string s(const QString& q) {
    return q.toStdString();
}

// Texts keep their CR LF line breaks; Qt shows a bare LF as the line break.
inline QString shown(const std::string& text) {
    return q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A value set from code raises no signal: the control runs its handler itself, and only on a real change.
template <class F> void silently(QObject* o, F&& f) {
    const QSignalBlocker block(o);
    f();
}

// 1 left, 2 right, 4 middle; 0 for any other button.
int16_t buttonOf(Qt::MouseButton b);
// 1 Shift, 2 Ctrl, 4 Alt.
int16_t shiftOf(Qt::KeyboardModifiers m);

// The tick box, the option circle and a slider's groove and handle are drawn in the palette's base and
// button colours: they keep the platform's own, rather than the dark ones a frame around them may have
// been given, as each control has colours of its own.
void keepIndicatorColours(QWidget* w);

} // namespace ui
