// At a device pixel ratio of 2 the skinned windows draw their skins' twins drawn at twice the size,
// not their skins enlarged, and keep the skins' own sizes and shapes; at 1.5 the twin is scaled.
#include "Artwork.h"
#include "Channels.h"
#include "FakeQuestions.h"
#include "MakeSk.h"
#include "ProgramFolder.h"
#include "frmAbout.h"
#include "frmRecord.h"
#include "frmSettings.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct NoChannel : core::ChannelSelection
{
    QString SelectedType() const override { return {}; }
    QString SelectedChannel() const override { return {}; }
    QString SelectedAddress() const override { return {}; }
};

// Where the twin has detail that the skin doubled cannot have, the window shows the twin's pixels.
void ExpectDrawnFromTheTwin(QWidget& Window, const QString& Skin)
{
    const QImage one = QImage(":/artwork/skins/" + Skin + ".png");
    const QImage twin =
        QImage(":/artwork/skins/" + Skin + "@2x.png").convertToFormat(QImage::Format_ARGB32);
    const QImage doubled = one.scaled(one.size() * 2).convertToFormat(QImage::Format_ARGB32);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    EXPECT_EQ(Window.size(), one.size()) << Skin.toStdString();
    EXPECT_EQ(Window.mask(), controls::RegionFromPicture(one)) << Skin.toStdString();
    const QImage shot = Window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shot.size(), twin.size()) << Skin.toStdString();
    int fromTwin = 0, fromDoubled = 0;
    for (int y = 0; y < twin.height(); ++y) {
        for (int x = 0; x < twin.width(); ++x) {
            const QRgb fine = twin.pixel(x, y), coarse = doubled.pixel(x, y);
            if (fine == coarse || qAlpha(fine) != 255)
                continue;
            fromTwin += shot.pixel(x, y) == fine;
            fromDoubled += shot.pixel(x, y) == coarse;
        }
    }
    EXPECT_GT(fromTwin, 1000) << Skin.toStdString();
    EXPECT_GT(fromTwin, 20 * fromDoubled) << Skin.toStdString();
}

} // namespace

TEST(DenseScreen, SkinnedWindowsDrawTheirTwinsAtTheirOwnSizeAndShape)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    QTemporaryDir folder;
    core::OverrideProgramFolder(folder.path());
    AnsweredQuestions user;
    NoChannel selection;
    QPointer<QWidget> settings = new app::frmSettings;
    ExpectDrawnFromTheTwin(*settings, "frmSettings");
    QPointer<QWidget> about = new player::frmAbout;
    ExpectDrawnFromTheTwin(*about, "frmAbout");
    QPointer<QWidget> recorder = new recorder::frmRecord(selection, nullptr, 0);
    ExpectDrawnFromTheTwin(*recorder, "frmRecord");
    for (QWidget* window : {settings.data(), about.data(), recorder.data()})
        delete window;
    core::OverrideProgramFolder({});

    // Between the two drawings the nearer one, scaled smoothly to the screen's pixels.
    const QImage skin = controls::LoadArtwork(":/artwork/skins/frmAbout.png");
    const QImage shown = controls::ImageForRatio(skin, 1.5);
    EXPECT_EQ(shown.size(), skin.size() * 1.5);
    EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(skin.size()));
}
