#include "btnFunction.h"

#include "MakeSk.h"

#include <QLabel>
#include <QPixmap>

namespace core {

void ShapeButton(QLabel& Picture, QWidget& Button)
{
    const QImage image = Picture.pixmap().toImage();
    Picture.setFrameShape(QFrame::NoFrame);
    Picture.setScaledContents(false);
    if (!image.isNull())
        Picture.resize(image.size());
    const QRegion region = controls::RegionFromPicture(image);
    // An image with nothing opaque gives no shape at all: the plain rectangle.
    if (region.isEmpty())
        Button.clearMask();
    else
        Button.setMask(region);
    Button.resize(Picture.size());
}

} // namespace core
