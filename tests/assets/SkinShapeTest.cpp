// Every skin shapes its window as meant: holes only around the outside, its corners cut.
#include "MakeSk.h"

#include <QDir>
#include <QImage>
#include <QRegion>
#include <gtest/gtest.h>

namespace {

// Every skin the windows wear.
QStringList Skins()
{
    return QDir(QStringLiteral(":/artwork/skins")).entryList({QStringLiteral("*.png")});
}

// A rounded panel in one piece: corners cut, no holes inside where a control could sit, most of
// the picture solid. Inside the outline nothing is half transparent: the mask has one bit, so a
// soft pixel would be a fringe of whatever lies behind the window.
TEST(SkinShape, EverySkinIsARoundedOpaquePanelWithoutHoles)
{
    ASSERT_GE(Skins().size(), 8);
    for (const QString& name : Skins()) {
        SCOPED_TRACE(name.toStdString());
        const QImage image =
            QImage(":/artwork/skins/" + name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull());
        const QRegion shape = controls::RegionFromPicture(image);
        const QRect r = image.rect();
        for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_FALSE(shape.contains(corner)) << corner.x() << "," << corner.y();
        EXPECT_GT(shape.boundingRect().width(), r.width() * 9 / 10);
        EXPECT_GT(shape.boundingRect().height(), r.height() * 9 / 10);
        // Each row of a rounded panel is one run: a second run is a hole or a loose piece.
        for (int y = 0; y < r.height(); ++y)
            EXPECT_LE((shape & QRect(0, y, r.width(), 1)).rectCount(), 1) << "row " << y;
        int soft = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                soft += alpha != 0 && alpha != 255;
            }
        EXPECT_EQ(soft, 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

// The outline pictures give buttons their shape: a disc, cut out around it.
TEST(SkinShape, OutlinePicturesShapeARoundButton)
{
    for (const char* name : {"PicBtnVolDown", "PicBtnVolUp", "PicMute", "picPlay", "picBtn"}) {
        SCOPED_TRACE(name);
        const QImage picture(QStringLiteral(":/artwork/buttons/%1.png").arg(QLatin1String(name)));
        const QRegion shape = controls::RegionFromPicture(picture);
        const QRect r = picture.rect();
        EXPECT_TRUE(shape.contains(r.center()));
        EXPECT_FALSE(shape.contains(r.topLeft()));
        EXPECT_FALSE(shape.contains(r.bottomRight()));
        EXPECT_EQ(shape.boundingRect(), r); // the disc touches all four sides
    }
}

} // namespace
