// The windows as they are drawn: the splash, the server dialog and the recorder wear their skins
// at the skins' sizes, and every control sits on the shaped panel.
#include "Channels.h"
#include "FakeQuestions.h"
#include "ProgramFolder.h"
#include "frmLoad.h"
#include "frmRecord.h"
#include "frmSettings.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Every visible control lies on the window's shaped panel, not in a cut-away corner, and is not
// squeezed below the height its text needs. Strips that let presses through to the skin (a
// caption across the top) draw only their text and may run into the rounded corners.
void ExpectControlsOnThePanel(QWidget& window)
{
    const QRegion panel = window.mask();
    ASSERT_FALSE(panel.isEmpty()) << "the window is shaped";
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || control->parentWidget() != &window ||
            control->objectName() == QLatin1String("Skin") || control->size() == window.size() ||
            control->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        const QRect at = control->geometry();
        EXPECT_TRUE(panel.contains(at.topLeft()) && panel.contains(at.bottomRight()))
            << control->objectName().toStdString();
    }
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool text = qobject_cast<QLabel*>(control) || qobject_cast<QLineEdit*>(control) ||
                          qobject_cast<QCheckBox*>(control) || qobject_cast<QPushButton*>(control);
        if (text && control->isVisible()) {
            EXPECT_GE(control->height(), control->minimumSizeHint().height())
                << control->objectName().toStdString();
        }
    }
}

struct ProgramFolder
{
    QTemporaryDir dir;
    ProgramFolder()
    {
        QFile settings(dir.filePath("Settings.ini"));
        if (settings.open(QIODevice::WriteOnly))
            settings.write("[Server]\r\nURL=http://127.0.0.1:9/\r\n");
        core::OverrideProgramFolder(dir.path());
    }
    ~ProgramFolder() { core::OverrideProgramFolder({}); }
};

struct NoChannel : core::ChannelSelection
{
    QString SelectedType() const override { return {}; }
    QString SelectedChannel() const override { return {}; }
    QString SelectedAddress() const override { return {}; }
};

// The splash, the server dialog and the recorder take their skins' sizes and keep their controls on
// the panel; the recorder's close image sits in its title strip.
TEST(WindowLook, WindowsWearTheirSkinsWithEveryControlOnThePanel)
{
    ProgramFolder folder;
    AnsweredQuestions user;
    QPointer<app::frmLoad> splash = new app::frmLoad;
    splash->TimerGetSett.stop(); // no download: only the look is asked about
    EXPECT_EQ(splash->size(), QImage(":/artwork/skins/frmLoad.png").size());
    delete splash;

    QPointer<app::frmSettings> dialog = new app::frmSettings;
    dialog->show();
    EXPECT_EQ(dialog->size(), QImage(":/artwork/skins/frmSettings.png").size());
    ExpectControlsOnThePanel(*dialog);
    delete dialog;

    NoChannel selection;
    QPointer<recorder::frmRecord> form = new recorder::frmRecord(selection, nullptr, 0);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    EXPECT_EQ(form->size(), QImage(":/artwork/skins/frmRecord.png").size());
    ExpectControlsOnThePanel(*form);
    auto* close = form->findChild<QToolButton*>("ingClose");
    ASSERT_TRUE(close);
    EXPECT_FALSE(close->icon().isNull());
    EXPECT_LE(close->geometry().bottom(), 26) << "in the title strip";
    EXPECT_GE(close->geometry().left(), form->width() - 30);
    form->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }));
}

} // namespace
