#include "window/staff_icon.h"

#include <QPainter>
#include <QPixmap>

namespace levara {

QImage staffImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QColor yellow(0xF5, 0xC4, 0x00), red(0xD0, 0x1C, 0x1C), black(0x1A, 0x1A, 0x1A);
    const QRectF staff(0.33 * s, 0.02 * s, 0.34 * s, 0.96 * s);
    painter.fillRect(staff, yellow);

    if (size < 32) {
        // Too small for the E marks: bands of red.
        for (int band = 0; band < 4; ++band)
            painter.fillRect(QRectF(staff.left(), staff.top() + band * staff.height() / 4, staff.width(),
                                    staff.height() / 8),
                             red);
    } else {
        // The E marks of a staff, one a decimetre, red and black in turn, each 5 cm
        // tall with teeth of 1 cm.
        const int marks = 5;
        const double block = staff.height() / marks, unit = block / 10;
        const double spine = staff.left() + 0.12 * staff.width(), spineWidth = 0.22 * staff.width();
        const double toothEnd = staff.left() + 0.78 * staff.width();
        for (int k = 0; k < marks; ++k) {
            const QColor colour = k % 2 ? black : red;
            const double top = staff.top() + k * block + 2.5 * unit;
            painter.fillRect(QRectF(spine, top, spineWidth, 5 * unit), colour);
            for (int tooth = 0; tooth < 3; ++tooth)
                painter.fillRect(QRectF(spine, top + 2 * tooth * unit, toothEnd - spine, unit), colour);
        }
    }
    QPen outline(black, std::max(1.0, s / 40));
    outline.setJoinStyle(Qt::MiterJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(staff);
    return image;
}

QIcon staffIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(staffImage(size)));
    return icon;
}

}  // namespace levara
