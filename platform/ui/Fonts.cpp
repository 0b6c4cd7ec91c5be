// Registering the design's faces and choosing their stand-ins.
#include "platform/ui/Fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace ui {

namespace {

// Where Debian's fonts-wine keeps its faces.
constexpr char kWineFontFolder[] = "/usr/share/wine/fonts/";

bool known(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

} // namespace

void installDesignFonts() {
    if (!known(kControlFace))
        for (const char* file : {"tahoma.ttf", "tahomabd.ttf"})
            QFontDatabase::addApplicationFont(QString(kWineFontFolder) + file);
    if (!known(kControlFace)) return;
    QFont face(kControlFace);
    face.setPointSizeF(kControlPointSize);
    QApplication::setFont(face);
}

QString courierNewFamily() {
    static const QString kMetricTwin = QStringLiteral("Liberation Mono");
    if (known(kMetricTwin)) return kMetricTwin;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace ui
