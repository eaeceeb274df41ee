// Every skin shapes its window as meant: holes only around the outside, its controls' places
// solid, its corners cut.
#include "MakeSk.h"
#include "Twips.h"

#include <QImage>
#include <QRegion>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Skin
{
    const char* name;
    std::vector<QRect> controls;
};

std::vector<QRect> Row(int y, int size, std::initializer_list<int> lefts)
{
    std::vector<QRect> places;
    for (const int x : lefts)
        places.emplace_back(x, y, size, size);
    return places;
}

std::vector<Skin> Skins()
{
    std::vector<QRect> player = {{6, 5, 16, 16},    {26, 5, 264, 16}, {296, 5, 16, 16},
                                 {316, 5, 16, 16},  {338, 5, 16, 16}, {18, 27, 321, 241},
                                 {150, 280, 24, 24}};
    for (const QRect& button : Row(278, 28, {18, 50, 82, 114, 186, 218, 250, 282, 314}))
        player.push_back(button);
    std::vector<QRect> viewer = {{21, 29, 450, 301}, {468, 6, 16, 16}, {21, 331, 450, 12}};
    for (const QRect& button : Row(3, 22, {320, 346, 372, 398}))
        viewer.push_back(button);
    return {
        {"frmPlayer", player},
        {"frmTray",
         {{12, 8, 160, 18},
          {12, 28, 160, 172},
          {188, 8, 160, 18},
          {188, 28, 160, 172},
          {12, 208, 336, 80}}},
        {"frmMessage", {{306, 5, 16, 16}, {12, 32, 306, 110}, {12, 148, 306, 24}}},
        {"frmInfoViewer", viewer},
        {"frmAbout", {{24, 150, 312, 18}, {24, 196, 150, 28}, {186, 196, 150, 28}}},
        {"frmLoad", {{24, 226, 417, 20}}},
        {"frmSettings",
         {{136, 40, 80, 16},
          {24, 64, 305, 22},
          {32, 96, 81, 25},
          {136, 96, 81, 25},
          {240, 96, 81, 25},
          {112, 136, 129, 25},
          {320, 16, 21, 17}}},
        {"frmRecord", {{358, 5, 16, 16}, {12, 32, 356, 286}}},
    };
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

TEST(SkinShape, EverySkinIsARoundedPanelWithItsControlsOnSolidGround)
{
    for (const Skin& skin : Skins()) {
        SCOPED_TRACE(skin.name);
        const QImage image = Load(skin.name);
        ASSERT_FALSE(image.isNull());
        const QRegion shape = controls::RegionFromPicture(image);
        EXPECT_FALSE(shape.isEmpty());
        EXPECT_NE(shape, QRegion(image.rect()));
        const QRect r = image.rect();
        for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_FALSE(shape.contains(corner)) << corner.x() << "," << corner.y();
        for (const QRect& place : skin.controls)
            EXPECT_TRUE((QRegion(place) - shape).isEmpty())
                << "control at " << place.x() << "," << place.y() << " " << place.width() << "x"
                << place.height() << " is not all window";
        EXPECT_EQ(EnclosedKeyPixels(image), 0);
    }
}

// Inside the outline nothing is half transparent: the mask has one bit, so a soft pixel would be
// a fringe of whatever lies behind the window.
TEST(SkinShape, SkinsAreFullyOpaqueInsideAndFullyTransparentOutside)
{
    for (const Skin& skin : Skins()) {
        SCOPED_TRACE(skin.name);
        const QImage image = Load(skin.name);
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
