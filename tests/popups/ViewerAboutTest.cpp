// The information viewer on the real browser engine against pages on 127.0.0.1, and the About
// window.
#include "FormSkin.h"
#include "PopupTestKit.h"
#include "WebPageView.h"
#include "dcButton.h"
#include "frmAbout.h"
#include "frmInfoViewer.h"

#include <QLabel>
#include <QScreen>
#include <QToolButton>

using namespace player;

namespace {

bool WaitForPage(frmInfoViewer* viewer, const QString& address)
{
    return QTest::qWaitFor([&] { return viewer->Browser->Url() == QUrl(address); }, kPatienceMs);
}

template <typename T> T* Open(const char* name)
{
    return qobject_cast<T*>(core::ShowWindow(QString::fromLatin1(name)));
}

} // namespace

using InfoViewerTest = PopupTest;

TEST_F(InfoViewerTest, HomeBackScriptDialogsAndASecondOpen)
{
    server.SetRoute("/home.html", {200, "<html><body>home</body></html>"});
    server.SetRoute("/home2.html", {200, "<html><body>new home</body></html>"});
    server.SetRoute(
        "/alert.html",
        {200, "<html><body onload=\"alert('hello'); document.title='after'\">x</body></html>"});
    const QString home = server.BaseUrl() + "/home.html";
    folder.Write("RSettings.ini", "ok\r\n[InfoViewer]\r\nHomePage=" + home.toUtf8() + "\r\n");

    auto* viewer = Open<frmInfoViewer>(core::WindowName::InfoViewer);
    ASSERT_NE(viewer, nullptr);
    // The window does not wait for the web engine: the browser comes in a later turn.
    EXPECT_EQ(viewer->Browser, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->Browser; }, kPatienceMs));
    EXPECT_EQ(viewer->lblURL->text(), home);
    // By the screen's top-left corner, all of it on the screen.
    const QRect screen = viewer->screen()->availableGeometry();
    EXPECT_EQ(viewer->frameGeometry().topLeft(), screen.topLeft());
    EXPECT_TRUE(screen.contains(viewer->frameGeometry()));
    ASSERT_TRUE(WaitForPage(viewer, home));

    // A page's alert() shows nothing, and the page goes on.
    const QString alert = server.BaseUrl() + "/alert.html";
    viewer->Browser->Load({QUrl(alert), {}, {}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->Browser->Title() == "after"; }, kPatienceMs));
    EXPECT_GE(viewer->Browser->SwallowedDialogs(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Opening it again only brings it forward, on the page it shows.
    EXPECT_EQ(Open<frmInfoViewer>(core::WindowName::InfoViewer), viewer);
    EXPECT_EQ(viewer->Browser->Url(), QUrl(alert));

    // Home goes to the address stored now, not the one read at load.
    const QString home2 = server.BaseUrl() + "/home2.html";
    folder.Write("RSettings.ini", "ok\r\n[InfoViewer]\r\nHomePage=" + home2.toUtf8() + "\r\n");
    QTest::mouseClick(viewer->btnHome, Qt::LeftButton);
    ASSERT_TRUE(WaitForPage(viewer, home2));
    QTest::mouseClick(viewer->btnPre, Qt::LeftButton);
    ASSERT_TRUE(WaitForPage(viewer, alert));

    viewer->close();
    EXPECT_EQ(core::FindWindow(QString::fromLatin1(core::WindowName::InfoViewer)), nullptr);

    // Only web pages are shown: a home page that names a local file is not loaded.
    folder.Write("RSettings.ini", "ok\r\n[InfoViewer]\r\nHomePage=file:///etc/passwd\r\n");
    viewer = Open<frmInfoViewer>(core::WindowName::InfoViewer);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->Browser; }, kPatienceMs));
    EXPECT_TRUE(viewer->Browser->Url().isEmpty())
        << viewer->Browser->Url().toString().toStdString();
    viewer->close();
}

using AboutTest = PopupTest;

TEST_F(AboutTest, CentredOnTopAndClosedByEitherButton)
{
    for (const char* button : {"btnBrowse", "dcButton1"}) {
        auto* about = Open<frmAbout>(core::WindowName::About);
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
        EXPECT_EQ(about->size(), about->Skin->Picture().size());
        const QRect screen = about->screen()->geometry();
        EXPECT_LE((about->geometry().center() - screen.center()).manhattanLength(), 2);
        EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(about->lblVersion->text().contains(CORVANE_VERSION));
        QTest::mouseClick(about->findChild<controls::dcButton*>(button), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor(
            [] { return !core::FindWindow(QString::fromLatin1(core::WindowName::About)); },
            kPatienceMs))
            << button;
    }
}
