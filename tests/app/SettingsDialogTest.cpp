// The server URL dialog driven with real input: what each path shows and what it writes.
#include "AppTestSupport.h"
#include "Config.h"
#include "FakeQuestions.h"
#include "dcButton.h"
#include "frmSettings.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace app;
using namespace controls;

namespace {

class SettingsDialogTest : public ::testing::Test
{
  protected:
    void SetUp() override { Open(); }
    void TearDown() override { CloseAllWindows(); }

    void Open() { (dialog = new frmSettings)->show(); }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    void EditAndType(const QString& text)
    {
        Click(dialog->btnEdit);
        dialog->txtServerURL->selectAll();
        QTest::keyClicks(dialog->txtServerURL, text);
    }
    // Which of Edit, Save, Cancel, OK are available.
    QString Available() const
    {
        QString flags;
        for (dcButton* b : {dialog->btnEdit, dialog->btnSave, dialog->btnCancel, dialog->dcButton1})
            flags += b->isEnabled() ? '1' : '0';
        return flags;
    }
    void CloseWith(QWidget* control)
    {
        Click(control);
        ASSERT_TRUE(WaitUntil([&] { return dialog.isNull(); }));
    }

    TempProgramFolder folder;
    AnsweredQuestions user;
    QPointer<frmSettings> dialog;
};

} // namespace

TEST_F(SettingsDialogTest, SaveAndCancelStoreTheTextAsTypedOkAndCloseWriteNothingAndAFailureIsTold)
{
    EXPECT_TRUE(dialog->txtServerURL->isReadOnly());
    EXPECT_EQ(Available(), "1111");
    EditAndType(" http://new.example:81 ");
    EXPECT_EQ(user->Messages(), QStringList{"Do not change te ServerURL if not necessary"});
    EXPECT_EQ(Available(), "0111");
    Click(dialog->btnSave);
    EXPECT_EQ(user->Messages().value(1), "ServetURL has been changed");
    EXPECT_EQ(folder.Read("Settings.ini"), "[Server]\r\nURL= http://new.example:81 \r\n");
    EXPECT_EQ(Available(), "1001");
    CloseWith(dialog->dcButton1);

    Open();
    EXPECT_EQ(dialog->txtServerURL->text(), Config::Read(Config::ServerURL));
    EditAndType("http://cancelled.example/");
    Click(dialog->btnCancel);
    EXPECT_EQ(Config::Read(Config::ServerURL), "http://cancelled.example/");
    EXPECT_EQ(Available(), "0001");
    Click(dialog->btnEdit); // unavailable: nothing happens
    EXPECT_EQ(user->Messages().size(), 3) << "no confirmation after Cancel, no warning from Edit";
    CloseWith(dialog->dcButton1);

    for (bool image : {false, true}) {
        Open();
        EditAndType("http://typed.example/");
        CloseWith(image ? static_cast<QWidget*>(dialog->ingClose) : dialog->dcButton1);
    }
    EXPECT_EQ(Config::Read(Config::ServerURL), "http://cancelled.example/");

    // A folder in the file's place: every write of "Settings.ini" fails, as on a read-only disk.
    // The address is told unsaved, never confirmed.
    ASSERT_TRUE(QFile::remove(folder.Path("Settings.ini")));
    ASSERT_TRUE(QDir(folder.dir.path()).mkdir("Settings.ini"));
    Open();
    EditAndType("http://lost.example/");
    const qsizetype before = user->Messages().size();
    Click(dialog->btnSave);
    ASSERT_EQ(user->Messages().size(), before + 1);
    EXPECT_TRUE(user->Messages().last().startsWith("Your change could not be saved"))
        << user->Messages().last().toStdString();
    EXPECT_EQ(Available(), "0111") << "still editing: the user can try again or cancel";
    Click(dialog->btnSave);
    EXPECT_EQ(user->Messages().size(), before + 2) << "each Save the user presses is answered";
    Click(dialog->btnCancel);
    EXPECT_EQ(user->Messages().size(), before + 2) << "Cancel does not repeat what was just said";
    EXPECT_FALSE(user->Messages().mid(before).contains("ServetURL has been changed"));
}
