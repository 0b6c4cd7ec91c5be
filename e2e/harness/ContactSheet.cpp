#include "e2e/harness/ContactSheet.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

namespace e2e {

namespace {

// Wide enough for two main windows side by side.
constexpr int kSheetWidth = 1720;
constexpr int kGap = 12;
const QColor kGround(0x30, 0x30, 0x30);

} // namespace

bool saveContactSheet(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".png" && entry.path().filename() != kContactSheet)
            files.push_back(entry.path());
    std::ranges::sort(files);

    // Each picture's place: left to right, a new row when the next would pass the sheet's width.
    struct Placed {
        QImage image;
        QPoint at;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0, width = 0;
    for (const auto& file : files) {
        QImage image(QString::fromStdString(file.string()));
        if (image.isNull()) return false;
        if (x > kGap && x + image.width() + kGap > kSheetWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({image, QPoint(x, y)});
        x += image.width() + kGap;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, image.height());
    }
    QImage sheet(std::max(width, kGap), y + rowHeight + kGap, QImage::Format_RGB32);
    sheet.fill(kGround);
    {
        QPainter painter(&sheet);
        for (const Placed& p : placed)
            painter.drawImage(p.at, p.image);
    }
    return sheet.save(QString::fromStdString((folder / kContactSheet).string()), "PNG");
}

} // namespace e2e
