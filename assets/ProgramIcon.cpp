#include "assets/ProgramIcon.h"

#include <QImage>
#include <QPixmap>

#include "assets/ProgramIconData.h"

namespace procesor {

QIcon programIcon() {
    QIcon icon;
    for (const ProgramIconImage& image : kProgramIconImages)
        icon.addPixmap(
            QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(image.pixels), image.side,
                                      image.side, QImage::Format_ARGB32_Premultiplied)));
    return icon;
}

} // namespace procesor
