#include "assets/ProgramIcon.h"

#include <QByteArray>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "assets/ProgramIconData.h"

namespace procesor {

QIcon programIcon() {
    QSvgRenderer svg(QByteArray::fromRawData(reinterpret_cast<const char*>(kProgramIconSvg),
                                             sizeof kProgramIconSvg));
    QIcon icon;
    if (!svg.isValid()) return icon;
    // The sizes a window frame, a task bar and a window switcher ask for.
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace procesor
