// The server URL dialog driven with real input: what each path shows and what it writes.
#include "AppTestSupport.h"
#include "Config.h"
#include "dcButton.h"
#include "frmSettings.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SettingsDialogTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dialog = new frmSettings;
        dialog->show();
    }
    void TearDown() override { CloseAllWindows(); }

    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    void Type(const QString& text)
    {
        dialog->txtServerURL->selectAll();
        QTest::keyClicks(dialog->txtServerURL, text);
    }
    bool Available(dcButton* button) const { return button->isEnabled(); }
    QStringList Texts() const
    {
        QStringList texts;
        for (const auto& box : answers.seen)
            texts << box.text;
        return texts;
    }

    TempProgramFolder folder;
    MessageBoxAnswerer answers;
    QPointer<frmSettings> dialog;
};

} // namespace

TEST_F(SettingsDialogTest, OpensReadOnlyWithTheStoredAddress)
{
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_EQ(dialog->txtServerURL->text(), "") << "no Settings.ini yet";
    EXPECT_TRUE(dialog->txtServerURL->isReadOnly());
    for (dcButton* button :
         {dialog->btnEdit, dialog->btnSave, dialog->btnCancel, dialog->dcButton1})
        EXPECT_TRUE(Available(button));
    EXPECT_EQ(dialog->btnEdit->toolTip(), "Edit server URL");
    EXPECT_EQ(dialog->btnSave->toolTip(), "Save server URL");
    EXPECT_EQ(dialog->ingClose->toolTip(), "Exit");
    EXPECT_EQ(dialog->size(), QSize(354, 179));
    CloseAllWindows();

    Config::Write(Config::ServerURL, "http://127.0.0.1:8080/");
    dialog = new frmSettings;
    EXPECT_EQ(dialog->txtServerURL->text(), "http://127.0.0.1:8080/");
}

TEST_F(SettingsDialogTest, EditThenSaveStoresTheTextAndConfirms)
{
    Click(dialog->btnEdit);
    ASSERT_EQ(Texts(), QStringList{"Do not change te ServerURL if not necessary"});
    EXPECT_EQ(answers.seen[0].title, "Corvane net player");
    EXPECT_EQ(answers.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_FALSE(dialog->txtServerURL->isReadOnly());
    EXPECT_FALSE(Available(dialog->btnEdit));
    EXPECT_TRUE(Available(dialog->btnSave));
    EXPECT_TRUE(Available(dialog->btnCancel));

    Type(" http://new.example:81 "); // stored exactly as typed
    Click(dialog->btnSave);
    EXPECT_EQ(Texts().last(), "ServetURL has been changed");
    EXPECT_TRUE(folder.Read("Settings.ini").contains("URL= http://new.example:81 \r\n"))
        << folder.Read("Settings.ini").toStdString();
    EXPECT_TRUE(Available(dialog->btnEdit));
    EXPECT_FALSE(Available(dialog->btnSave));
    EXPECT_FALSE(Available(dialog->btnCancel));
    EXPECT_FALSE(dialog->txtServerURL->isReadOnly()) << "stays editable until closed";
}

TEST_F(SettingsDialogTest, EditThenCancelStoresSilentlyAndLeavesOnlyOk)
{
    Click(dialog->btnEdit);
    Type("http://cancelled.example/");
    Click(dialog->btnCancel);
    EXPECT_EQ(Texts().size(), 1) << "no confirmation after Cancel";
    EXPECT_EQ(Config::Read(Config::ServerURL), "http://cancelled.example/");
    EXPECT_FALSE(Available(dialog->btnEdit));
    EXPECT_FALSE(Available(dialog->btnSave));
    EXPECT_FALSE(Available(dialog->btnCancel));
    EXPECT_TRUE(Available(dialog->dcButton1));
    Click(dialog->btnEdit); // unavailable: nothing happens
    EXPECT_EQ(Texts().size(), 1);

    Click(dialog->dcButton1);
    EXPECT_TRUE(WaitUntil([&] { return dialog.isNull(); }));
}

TEST_F(SettingsDialogTest, OkOrTheCloseImageAfterTypingWriteNothing)
{
    Click(dialog->btnEdit);
    Type("http://typed.example/");
    Click(dialog->dcButton1);
    EXPECT_TRUE(WaitUntil([&] { return dialog.isNull(); }));
    EXPECT_FALSE(QFile::exists(folder.Path("Settings.ini")));

    dialog = new frmSettings;
    dialog->show();
    Click(dialog->btnEdit);
    Type("http://typed.example/");
    Click(dialog->ingClose);
    EXPECT_TRUE(WaitUntil([&] { return dialog.isNull(); }));
    EXPECT_FALSE(QFile::exists(folder.Path("Settings.ini")));
}

TEST_F(SettingsDialogTest, DraggingThePictureMovesTheDialog)
{
    // No window manager here to take the move over: the dialog follows the mouse itself.
    const QPoint start = dialog->pos();
    QTest::mousePress(dialog->Picture1, Qt::LeftButton, {}, QPoint(20, 150));
    QTest::mouseMove(dialog->Picture1, QPoint(60, 180));
    QTest::mouseRelease(dialog->Picture1, Qt::LeftButton, {}, QPoint(60, 180));
    EXPECT_EQ(dialog->pos(), start + QPoint(40, 30));
}
