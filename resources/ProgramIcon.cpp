#include "resources/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace quillmark::resources {

namespace {

QPixmap drawPicture(QSvgRenderer& drawing, int side, qreal devicePixelRatio) {
    const int device = static_cast<int>(std::lround(side * devicePixelRatio));
    QPixmap picture(device, device);
    picture.fill(Qt::transparent);
    if (drawing.isValid()) {
        QPainter painter(&picture);
        drawing.render(&painter);
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

}  // namespace

QPixmap programPicture(int side, qreal devicePixelRatio) {
    QSvgRenderer drawing{QString::fromLatin1(kProgramIconPath)};
    return drawPicture(drawing, side, devicePixelRatio);
}

QIcon programIcon() {
    // Drawn by this library rather than an icon engine plugin, so the icon shows wherever
    // the program runs, whatever image plugins are installed. Window systems receive every
    // size at once with each window, so only the sizes they commonly show are drawn, from
    // one reading of the drawing.
    QSvgRenderer drawing{QString::fromLatin1(kProgramIconPath)};
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) icon.addPixmap(drawPicture(drawing, side, 1.0));
    return icon;
}

}  // namespace quillmark::resources
