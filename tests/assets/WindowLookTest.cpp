// The windows as they are drawn: the splash, the server dialog and the recorder wear their skins
// at the skins' sizes, every control sits on the shaped panel, and the text of the controls that
// draw their own colours (the dcButtons, the recorder's labels and toggle) reads at 4.5:1 or more.
#include "Channels.h"
#include "Contrast.h"
#include "FakeQuestions.h"
#include "ProgramFolder.h"
#include "dcButton.h"
#include "frmLoad.h"
#include "frmRecord.h"
#include "frmSettings.h"

#include <QCheckBox>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The contrast of a control's text as the window shows it: the commonest colour of the control's
// area (a border's width in from its edges) is what lies behind the text, and the text's own
// colour is the one furthest from it, which the strokes' cores reach.
double TextContrast(QWidget& window, QWidget& control)
{
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area =
        QRect(control.mapTo(&window, QPoint(0, 0)), control.size()).adjusted(3, 3, -3, -3);
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb behind = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), behind = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Contrast(it.key(), behind));
    return best;
}

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

TEST(WindowLook, SplashAndServerDialogWearTheirSkinsAndTheirButtonsRead)
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
    for (controls::dcButton* button :
         {dialog->btnEdit, dialog->btnCancel, dialog->btnSave, dialog->dcButton1})
        EXPECT_GE(TextContrast(*dialog, *button), 4.5) << button->objectName().toStdString();
    EXPECT_GE(TextContrast(*dialog, *dialog->txtServerURL), 4.5);
    delete dialog;
}

TEST(WindowLook, RecorderTakesItsSkinsSizeAndEveryTextReadsInBothStates)
{
    ProgramFolder folder;
    AnsweredQuestions user;
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

    auto* toggle = form->findChild<QPushButton*>("CmdRecord");
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->text(), "RECORD");
    for (const char* name : {"lblServer", "Label1", "lblCaption", "chkFilebysong", "CmdRecord"}) {
        auto* control = form->findChild<QWidget*>(name);
        ASSERT_TRUE(control) << name;
        EXPECT_GE(TextContrast(*form, *control), 4.5) << name;
    }
    EXPECT_GE(TextContrast(*form, *form->findChild<controls::dcButton*>("btnBrowse")), 4.5);
    {
        // The recording state's colours, without a station to record from.
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(true);
    }
    form->findChild<QLabel*>("lblStatus")->show();
    EXPECT_GE(TextContrast(*form, *toggle), 4.5) << "checked";
    EXPECT_GE(TextContrast(*form, *form->findChild<QLabel*>("lblStatus")), 4.5);
    form->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }));
}

} // namespace
