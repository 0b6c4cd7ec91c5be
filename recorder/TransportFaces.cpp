// Drawn for this program in a few plain shapes, so that each reads at 16 pixels.
#include "recorder/TransportFaces.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "recorder/RecorderPanelPorts.h"

namespace recorder {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kOlive(128, 128, 0);
const QColor kYellow(255, 255, 0);
const QColor kGrey(192, 192, 192);

void chevron(QPainter& p, int x, bool right) {
    const QPolygon shape = right ? QPolygon({QPoint(x, 3), QPoint(x + 5, 8), QPoint(x, 13)})
                                 : QPolygon({QPoint(x + 5, 3), QPoint(x, 8), QPoint(x + 5, 13)});
    p.drawPolygon(shape);
}

void loopArrow(QPainter& p, bool top) {
    QPen pen(kBlack, 2);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // Half of an oval, then an arrow head at its end.
    const QRect oval(2, 3, 12, 10);
    p.drawArc(oval, top ? 30 * 16 : 210 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    if (top)
        p.drawPolygon(QPolygon({QPoint(0, 7), QPoint(5, 7), QPoint(2, 10)}));
    else
        p.drawPolygon(QPolygon({QPoint(11, 9), QPoint(16, 9), QPoint(13, 6)}));
}

} // namespace

QImage transportFace(int16_t index) {
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(Qt::white);
    QPainter p(&face);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    switch (index) {
    case transport::kRecord:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(kRed);
        p.drawEllipse(QRect(3, 3, 10, 10));
        break;
    case transport::kPlay:
        p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(12, 8), QPoint(4, 14)}));
        break;
    case transport::kPause:
        p.drawRect(4, 3, 3, 10);
        p.drawRect(9, 3, 3, 10);
        break;
    case transport::kStop:
        p.drawRect(4, 4, 8, 8);
        break;
    case transport::kNextTrack:
        chevron(p, 2, true);
        chevron(p, 7, true);
        p.drawRect(13, 3, 2, 11);
        break;
    case transport::kPreviousTrack:
        p.drawRect(1, 3, 2, 11);
        chevron(p, 4, false);
        chevron(p, 9, false);
        break;
    case transport::kLoop:
        loopArrow(p, true);
        loopArrow(p, false);
        break;
    case transport::kLoad:
        // An open folder: the back in olive, the open front in yellow.
        p.setPen(kBlack);
        p.setBrush(kOlive);
        p.drawPolygon(QPolygon(
            {QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(12, 5), QPoint(12, 13), QPoint(1, 13)}));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
        break;
    case transport::kSave:
        // A floppy disk: olive case, grey shutter and label.
        p.setPen(kBlack);
        p.setBrush(kOlive);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(4, 1, 7, 5);
        p.setBrush(kGrey);
        p.drawRect(3, 8, 9, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(kOlive);
        p.drawRect(8, 2, 2, 3);
        break;
    case transport::kClose:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawEllipse(QRect(3, 3, 10, 10));
        break;
    default:
        break;
    }
    return face;
}

} // namespace recorder
