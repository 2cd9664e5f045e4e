#include "resources/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace quillmark::resources {

QPixmap programPicture(int side, qreal devicePixelRatio) {
    const int device = static_cast<int>(std::lround(side * devicePixelRatio));
    QPixmap picture(device, device);
    picture.fill(Qt::transparent);
    QSvgRenderer drawing{QString::fromLatin1(kProgramIconPath)};
    if (drawing.isValid()) {
        QPainter painter(&picture);
        drawing.render(&painter);
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QIcon programIcon() {
    // Drawn by this library rather than an icon engine plugin, so the icon shows wherever
    // the program runs, whatever image plugins are installed. Window systems receive every
    // size at once with each window, so only the sizes they commonly show are drawn.
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) icon.addPixmap(programPicture(side));
    return icon;
}

}  // namespace quillmark::resources
