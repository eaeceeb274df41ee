// Every skin shapes its window as meant: holes only around the outside, its corners cut.
#include "MakeSk.h"
#include "Twips.h"

#include <QDir>
#include <QImage>
#include <QRegion>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Every skin the windows wear.
QStringList Skins()
{
    return QDir(QStringLiteral(":/artwork/skins")).entryList({QStringLiteral("*.png")});
}

QImage Load(const char* name)
{
    return QImage(QStringLiteral(":/artwork/skins/%1.png").arg(QLatin1String(name)))
        .convertToFormat(QImage::Format_ARGB32);
}

// The key colour's pixels that cannot be reached from the image's border through key pixels:
// holes inside the window.
int EnclosedKeyPixels(const QImage& skin)
{
    const QRgb key = skin.pixel(0, 0);
    const int w = skin.width(), h = skin.height();
    std::vector<char> seen(static_cast<size_t>(w) * h, 0);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x)
        todo.insert(todo.end(), {QPoint(x, 0), QPoint(x, h - 1)});
    for (int y = 0; y < h; ++y)
        todo.insert(todo.end(), {QPoint(0, y), QPoint(w - 1, y)});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h)
            continue;
        char& mark = seen[static_cast<size_t>(p.y()) * w + p.x()];
        if (mark || skin.pixel(p) != key)
            continue;
        mark = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (skin.pixel(x, y) == key && !seen[static_cast<size_t>(y) * w + x])
                ++enclosed;
    return enclosed;
}

// A rounded panel in one piece: corners cut, no holes inside where a control could sit, most of
// the picture solid. Inside the outline nothing is half transparent: the mask has one bit, so a
// soft pixel would be a fringe of whatever lies behind the window.
TEST(SkinShape, EverySkinIsARoundedOpaquePanelWithoutHoles)
{
    ASSERT_GE(Skins().size(), 8);
    for (const QString& name : Skins()) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = Load(name.chopped(4).toLatin1().constData());
        ASSERT_FALSE(image.isNull());
        const QRegion shape = controls::RegionFromPicture(image);
        const QRect r = image.rect();
        for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_FALSE(shape.contains(corner)) << corner.x() << "," << corner.y();
        EXPECT_GT(shape.boundingRect().width(), r.width() * 9 / 10);
        EXPECT_GT(shape.boundingRect().height(), r.height() * 9 / 10);
        EXPECT_EQ(EnclosedKeyPixels(image), 0);
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

// The directory docks 100 twips above the player's foot and the recorder 310 twips inside its
// own width: the player's panel ends before either begins.
TEST(SkinShape, DockedWindowsDoNotCoverThePlayersPanel)
{
    const QImage player = Load("frmPlayer");
    const QRect panel = controls::RegionFromPicture(player).boundingRect();
    const int directoryTop = player.height() - controls::TwipsToPixels(100);
    EXPECT_LT(panel.bottom(), directoryTop);

    const QImage recorder = Load("frmRecord");
    const int recorderLeft = recorder.width() - controls::TwipsToPixels(310);
    const QRect recorderPanel = controls::RegionFromPicture(recorder).boundingRect();
    EXPECT_GT(recorderLeft + recorderPanel.left(), panel.right());
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
