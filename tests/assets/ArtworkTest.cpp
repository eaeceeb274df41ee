// Every image the windows load, at the size their layouts are made for.
#include "Contrast.h"
#include "Palette.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <gtest/gtest.h>
#include <utility>

namespace {

QImage Load(const QString& path)
{
    return QImage(QStringLiteral(":/artwork/") + path);
}

// Every picture loads; each button image has an @2x twin of twice its size for HiDPI screens and
// shows a symbol, not an empty square.
TEST(Artwork, EveryImageLoadsAndEveryButtonHasItsDoubleSizeTwin)
{
    int buttons = 0;
    for (QDirIterator it(QStringLiteral(":/artwork"), QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        if (!path.endsWith(QStringLiteral(".png")))
            continue;
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        if (!path.contains(QStringLiteral("/buttons/")) || path.endsWith(QStringLiteral("@2x.png")))
            continue;
        ++buttons;
        const QImage twin(path.chopped(4) + QStringLiteral("@2x.png"));
        EXPECT_EQ(twin.size(), image.size() * 2) << path.toStdString();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(painted, image.width() * image.height() / 10) << path.toStdString();
    }
    EXPECT_GE(buttons, 20);
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
