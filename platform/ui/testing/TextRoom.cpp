// Measuring a window's captions and controls as they lie on it.
#include "platform/ui/testing/TextRoom.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <optional>

namespace ui::testing {

namespace {

// A control as it lies on the window: its rectangle and the part of it its containers leave in view,
// both in the window's coordinates.
struct Placed {
    const QWidget* widget;
    QRect rect;
    QRect shown;
};

std::string describe(const QWidget& w, const QRect& at) {
    QString text;
    if (const auto* l = qobject_cast<const QLabel*>(&w))
        text = l->text();
    else if (const auto* b = qobject_cast<const QAbstractButton*>(&w))
        text = b->text();
    else if (const auto* g = qobject_cast<const QGroupBox*>(&w))
        text = g->title();
    else if (const auto* c = qobject_cast<const QComboBox*>(&w))
        text = c->currentText();
    std::string d = w.metaObject()->className();
    if (!text.isEmpty()) d += " \"" + text.replace('\n', "\\n").toStdString() + "\"";
    return d + " at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " " +
           std::to_string(at.width()) + "x" + std::to_string(at.height());
}

bool within(const QWidget* w, const QWidget* outer) {
    for (; w; w = w->parentWidget())
        if (w == outer) return true;
    return false;
}

// A caption as the control shows it: "&&" is an ampersand, another "&" only marks the next letter.
QString shownMnemonic(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// The inked part of one line of text laid out in room with the alignment.
QRect ink(const QFontMetrics& fm, const QString& text, const QRect& room, Qt::Alignment align,
          Qt::LayoutDirection dir) {
    const QRect box = QStyle::alignedRect(dir, align, QSize(fm.horizontalAdvance(text), fm.height()), room);
    return fm.tightBoundingRect(text).translated(box.left(), box.top() + fm.ascent());
}

// A caption and the room its control gives it, in the control's coordinates.
struct Caption {
    QRect ink;
    QRect room;
};

std::optional<Caption> labelCaption(const QLabel& l) {
    if (l.text().trimmed().isEmpty() || !l.pixmap().isNull()) return std::nullopt;
    const QFontMetrics fm(l.font());
    const int m = l.margin();
    QRect room = l.contentsRect().adjusted(m, m, -m, -m);
    int indent = l.indent();
    if (indent < 0 && l.frameWidth() > 0) indent = fm.horizontalAdvance('x') / 2 - m;
    if (indent > 0) {
        const Qt::Alignment a = l.alignment();
        if (a & Qt::AlignLeft) room.setLeft(room.left() + indent);
        if (a & Qt::AlignRight) room.setRight(room.right() - indent);
        if (a & Qt::AlignTop) room.setTop(room.top() + indent);
        if (a & Qt::AlignBottom) room.setBottom(room.bottom() - indent);
    }
    const QString text = l.text();
    if (l.wordWrap()) {
        QRect laid = fm.boundingRect(room, static_cast<int>(l.alignment()) | Qt::TextWordWrap, text);
        // A word longer than the line runs past it.
        for (const QString& word : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
            laid.setWidth(std::max(laid.width(), fm.horizontalAdvance(word)));
        return Caption{laid, room};
    }
    if (text.contains('\n'))
        return Caption{fm.boundingRect(room, static_cast<int>(l.alignment()), text), room};
    return Caption{ink(fm, text, room, l.alignment(), l.layoutDirection()), room};
}

std::optional<Caption> buttonCaption(const QAbstractButton& b) {
    const QString text = shownMnemonic(b.text());
    if (text.trimmed().isEmpty()) return std::nullopt;
    QStyleOptionButton opt;
    opt.initFrom(&b);
    opt.text = b.text();
    opt.icon = b.icon();
    opt.iconSize = b.iconSize();
    QStyle::SubElement contents;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    if (qobject_cast<const QCheckBox*>(&b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(&b))
        contents = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QPushButton*>(&b)) {
        contents = QStyle::SE_PushButtonContents;
        align = Qt::AlignCenter;
    } else
        return std::nullopt;
    const QRect room = b.style()->subElementRect(contents, &opt, &b);
    return Caption{ink(QFontMetrics(b.font()), text, room, align, b.layoutDirection()), room};
}

bool isBare(const QGroupBox& g) {
    return g.property("bare").toBool();
}

std::optional<Caption> frameCaption(const QGroupBox& g) {
    if (g.title().trimmed().isEmpty() || isBare(g)) return std::nullopt;
    QStyleOptionGroupBox opt;
    opt.initFrom(&g);
    opt.text = g.title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = g.alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (g.isFlat()) opt.features |= QStyleOptionFrame::Flat;
    const QRect label = g.style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, &g);
    const QFontMetrics fm(g.font());
    return Caption{
        ink(fm, shownMnemonic(g.title()), label, Qt::AlignLeft | Qt::AlignVCenter, g.layoutDirection()),
        g.rect()};
}

// A control a person reads or works; the pictures and plain pages that only hold others are not.
bool isControl(const QWidget& w) {
    if (const auto* l = qobject_cast<const QLabel*>(&w)) return !l->text().trimmed().isEmpty();
    if (const auto* g = qobject_cast<const QGroupBox*>(&w)) return !isBare(*g);
    return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QComboBox*>(&w) ||
           qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QPlainTextEdit*>(&w) ||
           qobject_cast<const QAbstractSlider*>(&w) || qobject_cast<const QAbstractItemView*>(&w) ||
           qobject_cast<const QTabBar*>(&w);
}

// Under an opaque sibling stacked above it that covers it whole, as the pages of a tab strip lie.
bool coveredWhole(const QWidget& window, const QWidget& child, const QObjectList& siblings, qsizetype at) {
    for (qsizetype i = at + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (above && !above->isWindow() && above->isVisibleTo(&window) && above->autoFillBackground() &&
            above->geometry().contains(child.geometry()))
            return true;
    }
    return false;
}

void collect(const QWidget& window, const QWidget& w, const QRect& clip, std::vector<Placed>& out) {
    const QObjectList& siblings = w.children();
    for (qsizetype i = 0; i < siblings.size(); ++i) {
        const auto* child = qobject_cast<const QWidget*>(siblings[i]);
        if (!child || child->isWindow() || !child->isVisibleTo(&window) ||
            coveredWhole(window, *child, siblings, i))
            continue;
        const QRect rect(child->mapTo(&window, QPoint(0, 0)), child->size());
        const QRect shown = rect & clip;
        if (shown.isEmpty()) continue;
        out.push_back({child, rect, shown});
        collect(window, *child, shown, out);
    }
}

class Walk {
public:
    Walk(const QWidget& window, const std::vector<Allowance>& allowed) : window_(window), allowed_(allowed) {
        collect(window, window, window.rect(), placed_);
    }

    std::vector<std::string> faults() {
        for (const Placed& p : placed_)
            checkCaption(p);
        for (size_t a = 0; a < placed_.size(); ++a)
            for (size_t b = a + 1; b < placed_.size(); ++b)
                checkOverlap(placed_[a], placed_[b]);
        return faults_;
    }

private:
    bool allowed(const QWidget* x, const QWidget* y) const {
        for (const Allowance& a : allowed_) {
            if (!a.second) {
                if (!y && within(x, a.first)) return true;
                continue;
            }
            if (!y) continue;
            if ((within(x, a.first) && within(y, a.second)) || (within(x, a.second) && within(y, a.first)))
                return true;
        }
        return false;
    }

    void checkCaption(const Placed& p) {
        std::optional<Caption> c;
        if (const auto* l = qobject_cast<const QLabel*>(p.widget))
            c = labelCaption(*l);
        else if (const auto* b = qobject_cast<const QAbstractButton*>(p.widget))
            c = buttonCaption(*b);
        else if (const auto* g = qobject_cast<const QGroupBox*>(p.widget))
            c = frameCaption(*g);
        else if (const auto* t = qobject_cast<const QTabBar*>(p.widget))
            checkTabs(p, *t);
        if (!c || allowed(p.widget, nullptr)) return;
        const std::string who = describe(*p.widget, p.rect);
        const QRect& ink = c->ink;
        if (ink.width() > c->room.width() || ink.height() > c->room.height()) {
            fault(who + ": its caption needs " + size(ink) + ", the room is " + size(c->room));
            return;
        }
        // A glyph's overhang of a pixel past the room is drawn all the same.
        if (!c->room.adjusted(-1, -1, 1, 1).contains(ink)) {
            fault(who + ": its caption, inked at " + place(ink) + ", runs past its room at " +
                  place(c->room));
            return;
        }
        const QRect onWindow = ink.translated(p.rect.topLeft());
        if (!p.shown.adjusted(-1, -1, 1, 1).contains(onWindow)) {
            fault(who + ": its caption, inked at " + place(onWindow) +
                  ", is cut by the edge of its container at " + place(p.shown));
            return;
        }
        if (qobject_cast<const QGroupBox*>(p.widget)) checkFrameCaptionClear(p, onWindow);
    }

    // A control inside a frame that lies over the frame's caption hides it.
    void checkFrameCaptionClear(const Placed& frame, const QRect& caption) {
        for (const Placed& q : placed_)
            if (q.widget->parentWidget() == frame.widget && isControl(*q.widget) &&
                q.shown.intersects(caption) && !allowed(frame.widget, q.widget))
                fault(describe(*frame.widget, frame.rect) + ": its caption is covered by " +
                      describe(*q.widget, q.rect));
    }

    void checkTabs(const Placed& p, const QTabBar& t) {
        if (allowed(p.widget, nullptr)) return;
        const QFontMetrics fm(t.font());
        for (int i = 0; i < t.count(); ++i) {
            const QString text = shownMnemonic(t.tabText(i));
            // The tab's own edges take a pixel or two on either side.
            if (fm.horizontalAdvance(text) > t.tabRect(i).width() - 4)
                fault(describe(t, p.rect) + ": tab \"" + text.toStdString() + "\" needs " +
                      std::to_string(fm.horizontalAdvance(text)) + " px, the tab is " +
                      std::to_string(t.tabRect(i).width()) + " px wide");
        }
    }

    // The part of a control another may not cover: a frame's caption (its body may hold what lies over
    // it), any other control whole.
    static QRect body(const Placed& p) {
        if (const auto* g = qobject_cast<const QGroupBox*>(p.widget)) {
            const std::optional<Caption> c = frameCaption(*g);
            return c ? c->ink.translated(p.rect.topLeft()) & p.shown : QRect();
        }
        return p.shown;
    }

    void checkOverlap(const Placed& a, const Placed& b) {
        if (!isControl(*a.widget) || !isControl(*b.widget)) return;
        if (within(a.widget, b.widget) || within(b.widget, a.widget)) return;
        if (!body(a).intersects(body(b)) || allowed(a.widget, b.widget)) return;
        fault(describe(*a.widget, a.rect) + " overlaps " + describe(*b.widget, b.rect));
    }

    static std::string place(const QRect& r) {
        return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + size(r);
    }

    static std::string size(const QRect& r) {
        return std::to_string(r.width()) + "x" + std::to_string(r.height()) + " px";
    }

    void fault(std::string text) {
        const QString title = window_.windowTitle().isEmpty() ? window_.objectName() : window_.windowTitle();
        faults_.push_back(title.toStdString() + ": " + std::move(text));
    }

    const QWidget& window_;
    const std::vector<Allowance>& allowed_;
    std::vector<Placed> placed_;
    std::vector<std::string> faults_;
};

} // namespace

std::vector<std::string> textRoomFaults(const QWidget& window, const std::vector<Allowance>& allowed) {
    return Walk(window, allowed).faults();
}

} // namespace ui::testing
