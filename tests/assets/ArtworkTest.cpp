// Every image the windows load, at the size their layouts are made for.
#include "Palette.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

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

// The message chime: 16-bit mono samples at 44.1 kHz after a 44-byte header, under a second,
// loud enough to be heard, with headroom, and starting at rest (no click). (It plays through the
// media component's test.)
TEST(Artwork, TheChimeIsShortAudibleAndUnclipped)
{
    QFile file(qEnvironmentVariable("CORVANE_BINARY_DIR") + QStringLiteral("/bin/msg.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    const int samples = int(bytes.size() - 44) / 2;
    EXPECT_GT(samples, 44100 / 5);
    EXPECT_LT(samples, 44100);
    int loudest = 0;
    for (int i = 0; i < samples; ++i)
        loudest = std::max(
            loudest, std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * i))));
    EXPECT_GT(loudest, 32767 / 8);
    EXPECT_LT(loudest, 32767 * 9 / 10);
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 44), 0);
}

// The contrast ratio of two colours as the accessibility guidelines define it.
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF()) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
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
