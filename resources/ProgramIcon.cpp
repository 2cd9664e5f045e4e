// SPDX-License-Identifier: MIT
#include "resources/ProgramIcon.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <algorithm>
#include <cmath>

namespace quillmark::resources {

namespace {

// One of the compiled pictures; kProgramIconSides lists those that exist.
QImage compiledPicture(int side) {
    // Read by Qt's built-in PNG reader alone. Left to detect the format itself, QImageReader
    // would first load every installed image format plugin (and the SVG library with one of
    // them) to ask each whether it reads PNG, even when the format is named.
    QImageReader reader(QStringLiteral(":/quillmark/icon/quillmark-%1.png").arg(side), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QPixmap programPicture(int side, qreal devicePixelRatio) {
    const int device = std::max(1, static_cast<int>(std::lround(side * devicePixelRatio)));
    // The smallest compiled picture at least as large, shrunk if need be; above the largest,
    // the largest grown.
    const auto larger =
        std::lower_bound(kProgramIconSides.begin(), kProgramIconSides.end(), device);
    QImage picture =
        compiledPicture(larger != kProgramIconSides.end() ? *larger : kProgramIconSides.back());
    QPixmap result;
    if (picture.isNull()) {
        result = QPixmap(device, device);
        result.fill(Qt::transparent);
    } else {
        if (picture.width() != device || picture.height() != device) {
            picture =
                picture.scaled(device, device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        result = QPixmap::fromImage(std::move(picture));
    }
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QIcon programIcon() {
    // Window systems receive every size at once with each window, so only the sizes they
    // commonly show are given; other sizes are shrunk from the nearest by QIcon.
    QIcon icon;
    for (int side : kWindowIconSides) {
        const QImage picture = compiledPicture(side);
        if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

}  // namespace quillmark::resources
