// The advert control on the real browser engine, against pages served from 127.0.0.1.
#include "WebAd.h"
#include "MiniHttpServer.h"
#include "PropertyBag.h"
#include "Twips.h"

#include <QApplication>
#include <QFrame>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <memory>

using corvane::TwipsToPixels;

namespace {

const QByteArray TallPage = "<!DOCTYPE html><html><body style='margin:0'>"
                            "<div style='width:3000px;height:3000px;background:#36c'></div>"
                            "</body></html>";

QVariant RunScript(QWebEnginePage* page, const QString& script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 15000)) << script.toStdString();
    return result;
}

// The advert in a window of its own, 3000 x 1500 twips.
struct Advert
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    WebAd* ad = new WebAd(window.get());
    QSignalSpy complete{ad, &WebAd::DocumentComplete};

    Advert()
    {
        window->resize(260, 160);
        ad->setGeometry(10, 10, TwipsToPixels(3000), TwipsToPixels(1500));
        window->show();
    }
    bool Load(const QString& url, const QVariant& postData = {}, const QVariant& headers = {})
    {
        ad->Navigate(url, {}, {}, postData, headers);
        return Loaded(url);
    }
    // Waits for the page at `url` to complete; other loads (the first blank page) do not count.
    bool Loaded(const QString& url)
    {
        const int before = complete.count();
        return QTest::qWaitFor(
            [&] {
                for (int i = before; i < complete.count(); ++i)
                    if (complete[i][0].toBool() && ad->web()->url() == QUrl(url))
                        return true;
                return false;
            },
            15000);
    }
};

} // namespace

TEST(WebAd, BrowserReachesPastTheLeftAndTopEdges)
{
    Advert a;
    EXPECT_EQ(a.ad->picWeb()->geometry(), QRect(0, 0, 200, 100));
    // 3000 x 1500 twips: the browser at (-200, -250) twips, 3200 x 1750 twips.
    const QRect browser = a.ad->web()->geometry();
    EXPECT_EQ(browser.topLeft(), QPoint(-TwipsToPixels(200), -TwipsToPixels(250)));
    EXPECT_EQ(browser.size(), QSize(200 + TwipsToPixels(200), 100 + TwipsToPixels(250)));
    // What shows is the browser's lower right part, inside the border.
    const QRect shown = a.ad->web()->parentWidget()->geometry();
    EXPECT_EQ(shown, a.ad->picWeb()->contentsRect());

    a.ad->resize(300, 50);
    EXPECT_EQ(a.ad->web()->size(), QSize(300 + TwipsToPixels(200), 50 + TwipsToPixels(250)));
}

TEST(WebAd, PostDataAndHeadersReachTheServer)
{
    MiniHttpServer server;
    server.Serve("/ad", "<html><body>advert</body></html>");
    Advert a;
    ASSERT_TRUE(a.Load(server.Url("/ad"), QByteArray("channel=Jazz&id=7"),
                       "Content-Type: application/x-www-form-urlencoded\r\nX-Corvane: ad\r\n"));
    ASSERT_EQ(server.CountFor("/ad"), 1);
    const MiniHttpServer::Request& post = server.Requests().last();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.body, "channel=Jazz&id=7");
    EXPECT_EQ(post.headers.value("x-corvane"), "ad");
    EXPECT_EQ(post.headers.value("content-type"), "application/x-www-form-urlencoded");

    // A URL alone is a plain GET; flags and a target frame change nothing.
    ASSERT_TRUE(a.Load(server.Url("/ad")));
    EXPECT_EQ(server.Requests().last().method, "GET");
    EXPECT_TRUE(server.Requests().last().body.isEmpty());
    a.ad->Navigate(server.Url("/ad"), 2, "_top");
    ASSERT_TRUE(a.Loaded(server.Url("/ad")));
    EXPECT_EQ(server.CountFor("/ad"), 3);
}

TEST(WebAd, ScriptDialogsAreSwallowed)
{
    MiniHttpServer server;
    server.Serve("/alert", "<html><body><script>"
                           "alert('win!'); var c = confirm('sure?'); var p = prompt('name');"
                           "undefinedFunction();"
                           "</script><script>document.title = 'after:' + c + ':' + p;"
                           "</script></body></html>");
    Advert a;
    // A dialog would be modal and stop this test; watch for one and close it so the failure
    // shows up as a failure.
    bool sawDialog = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            sawDialog = true;
            modal->close();
        }
    });
    watch.start(50);
    ASSERT_TRUE(a.Load(server.Url("/alert")));
    EXPECT_FALSE(sawDialog);
    EXPECT_EQ(RunScript(a.ad->web()->page(), "document.title").toString(), "after:false:null");
}

TEST(WebAd, NoScrollBarsOnceLoaded)
{
    MiniHttpServer server;
    server.Serve("/tall", TallPage);
    Advert a;
    ASSERT_TRUE(a.Load(server.Url("/tall")));
    QWebEnginePage* page = a.ad->web()->page();
    EXPECT_EQ(RunScript(page, "document.body.getAttribute('scroll')").toString(), "no");
    EXPECT_EQ(RunScript(page, "window.innerWidth - document.documentElement.clientWidth").toInt(),
              0);
    EXPECT_EQ(RunScript(page, "window.innerHeight - document.documentElement.clientHeight").toInt(),
              0);

    // The same page in a plain browser does have scroll bars, so the above means something.
    QWebEngineView plain;
    plain.resize(200, 100);
    plain.show();
    QSignalSpy loaded(&plain, &QWebEngineView::loadFinished);
    plain.load(QUrl(server.Url("/tall")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() == 1; }, 15000));
    EXPECT_GT(
        RunScript(plain.page(), "window.innerWidth - document.documentElement.clientWidth").toInt(),
        0);
}

TEST(WebAd, ClickAnywhereIsTheControlsAndTheSunkenLookFollowsTheButton)
{
    MiniHttpServer server;
    server.Serve("/link", "<html><body style='margin:0'>"
                          "<a href='/elsewhere' style='display:block;width:2000px;height:2000px'>"
                          "go</a><script>document.onmousedown = function() {"
                          "document.title = 'page saw the mouse'; };</script></body></html>");
    server.Serve("/elsewhere", "<html><body>elsewhere</body></html>");
    Advert a;
    ASSERT_TRUE(a.Load(server.Url("/link")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(a.window.get(), 15000));
    QSignalSpy click(a.ad, &WebAd::Click);
    QSignalSpy down(a.ad, &WebAd::MouseDown);
    QSignalSpy up(a.ad, &WebAd::MouseUp);
    QSignalSpy dbl(a.ad, &WebAd::DblClick);

    // Through the window, as the window system delivers it, to a point over the page.
    QWindow* window = a.window->windowHandle();
    const QPoint onAdvert = a.ad->mapTo(a.window.get(), QPoint(100, 50));
    EXPECT_FALSE(a.ad->IsSunken());
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_TRUE(a.ad->IsSunken());
    EXPECT_EQ(a.ad->picWeb()->frameShadow(), QFrame::Sunken);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].toInt(), 1);
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 100);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_FALSE(a.ad->IsSunken());
    EXPECT_EQ(a.ad->picWeb()->frameShadow(), QFrame::Plain);
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(click.count(), 1);

    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(dbl.count(), 1);
    const int clicks = click.count();

    // The page itself never saw the clicks: no navigation, no handler ran.
    QWebEnginePage* page = a.ad->web()->page();
    EXPECT_EQ(RunScript(page, "document.title").toString(), "");
    EXPECT_EQ(server.CountFor("/elsewhere"), 0);
    EXPECT_TRUE(page->url().toString().endsWith("/link"));

    // Disabled, the advert raises nothing.
    a.ad->setEnabled(false);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(click.count(), clicks);
}

TEST(WebAd, PropertiesPersistWithTheirDefaults)
{
    WebAd fresh;
    EXPECT_EQ(fresh.BackColor(), 0x80000005u);
    EXPECT_EQ(fresh.ForeColor(), 0x80000008u);
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(fresh.BorderStyle(), 1);
    PropertyBag empty;
    fresh.WriteProperties(empty);
    EXPECT_TRUE(empty.IsEmpty());

    WebAd designed;
    designed.setBackColor(0x00336699);
    designed.setBorderStyle(0);
    designed.setEnabled(false);
    PropertyBag bag;
    designed.WriteProperties(bag);
    EXPECT_EQ(bag.Keys().size(), 3);
    WebAd restored;
    restored.ReadProperties(bag);
    EXPECT_EQ(restored.BackColor(), 0x00336699u);
    EXPECT_EQ(restored.picWeb()->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(restored.ForeColor(), 0x80000008u);
    EXPECT_FALSE(restored.Enabled());
    EXPECT_EQ(restored.BorderStyle(), 0);
    EXPECT_EQ(restored.picWeb()->frameShape(), QFrame::NoFrame);
}
