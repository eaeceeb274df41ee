// Every image the windows load, at the size their layouts are made for.
#include "Palette.h"

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace {

struct Named
{
    const char* path;
    int width;
    int height;
};

QImage Load(const QString& path)
{
    return QImage(QStringLiteral(":/artwork/") + path);
}

TEST(Artwork, EverySkinIsThereAtItsSize)
{
    const Named skins[] = {
        {"skins/frmPlayer.png", 360, 320},   {"skins/frmTray.png", 360, 300},
        {"skins/frmMessage.png", 330, 180},  {"skins/frmInfoViewer.png", 492, 345},
        {"skins/frmAbout.png", 360, 240},    {"skins/frmRecord.png", 380, 330},
        {"skins/frmSettings.png", 354, 179}, {"skins/frmLoad.png", 465, 281},
    };
    for (const Named& skin : skins) {
        const QImage image = Load(QLatin1String(skin.path));
        ASSERT_FALSE(image.isNull()) << skin.path;
        EXPECT_EQ(image.size(), QSize(skin.width, skin.height)) << skin.path;
    }
}

// Each button image comes with an @2x twin of twice the size for HiDPI screens.
TEST(Artwork, EveryButtonImageIsThereWithItsDoubleSizeTwin)
{
    const Named buttons[] = {
        {"ImgList1", 24, 24},      {"ImgList2", 24, 24},    {"ImgList3", 28, 28},
        {"ImgList4", 28, 28},      {"ImgList5", 28, 28},    {"ImgList6", 28, 28},
        {"PicBtnVolDown", 28, 28}, {"PicBtnVolUp", 28, 28}, {"PicMute", 28, 28},
        {"picPlay", 28, 28},       {"picBtn", 22, 22},      {"ImgFullScreen", 16, 16},
        {"ImgSysTray", 16, 16},    {"ingClose", 16, 16},    {"Image4", 16, 16},
        {"btnInfo", 28, 28},       {"BtnAbout", 28, 28},    {"btnSettings", 28, 28},
        {"btnRecord", 28, 28},     {"btnMsg", 28, 28},      {"Home", 22, 22},
        {"Back", 22, 22},          {"Forward", 22, 22},     {"Refresh", 22, 22},
        {"Exit", 16, 16},
    };
    for (const Named& button : buttons) {
        const QString base = QStringLiteral("buttons/") + QLatin1String(button.path);
        const QImage single = Load(base + QStringLiteral(".png"));
        const QImage twin = Load(base + QStringLiteral("@2x.png"));
        ASSERT_FALSE(single.isNull()) << button.path;
        ASSERT_FALSE(twin.isNull()) << button.path << "@2x";
        EXPECT_EQ(single.size(), QSize(button.width, button.height)) << button.path;
        EXPECT_EQ(twin.size(), single.size() * 2) << button.path;
        // A symbol, not an empty square.
        int painted = 0;
        for (int y = 0; y < single.height(); ++y)
            for (int x = 0; x < single.width(); ++x)
                painted += qAlpha(single.pixel(x, y)) > 128;
        EXPECT_GT(painted, single.width() * single.height() / 10) << button.path;
    }
}

// The player's toggles show their two states with different pictures.
TEST(Artwork, EachToggleHasTwoDifferentPictures)
{
    for (const auto& [one, other] :
         {std::pair{"ImgList1", "ImgList2"}, {"ImgList3", "ImgList4"}, {"ImgList5", "ImgList6"}}) {
        const QImage a = Load(QStringLiteral("buttons/%1.png").arg(QLatin1String(one)));
        const QImage b = Load(QStringLiteral("buttons/%1.png").arg(QLatin1String(other)));
        EXPECT_NE(a, b) << one << " and " << other;
    }
}

TEST(Artwork, TheIconComesAtEveryUsualSizeAlsoInTheIconTheme)
{
    const QDir theme(qEnvironmentVariable("CORVANE_BINARY_DIR") +
                     QStringLiteral("/share/icons/hicolor"));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = Load(QStringLiteral("icons/corvane-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        const QImage themed(theme.filePath(QStringLiteral("%1x%1/apps/corvane.png").arg(size)));
        EXPECT_EQ(themed.size(), QSize(size, size)) << size;
    }
}

double Luminance(const QColor& colour)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Text and symbols stay legible (4.5:1) on every surface they are drawn on.
TEST(Artwork, TextAndSymbolsReachFourAndAHalfToOneOnEverySurface)
{
    using namespace artwork;
    const QColor faces[] = {BodyTop, BodyBottom, StripTop, StripBottom, Well};
    for (const QColor& face : faces) {
        EXPECT_GE(Contrast(Text, face), 4.5) << face.name().toStdString();
        EXPECT_GE(Contrast(TextDim, face), 4.5) << face.name().toStdString();
        EXPECT_GE(Contrast(Accent, face), 4.5) << face.name().toStdString();
    }
    for (const QColor& face : {ButtonTop, ButtonBottom}) {
        EXPECT_GE(Contrast(Text, face), 4.5) << face.name().toStdString();
        EXPECT_GE(Contrast(Record, face), 3.0) << face.name().toStdString(); // a dot, not text
    }
    // The open directory toggle: a navy symbol on an amber face.
    EXPECT_GE(Contrast(BodyBottom, Accent), 4.5);
    // The message text's default colour, black, on the popup's paper.
    EXPECT_GE(Contrast(Qt::black, Paper), 4.5);
}

} // namespace
