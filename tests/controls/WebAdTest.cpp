// The advert control on the real browser engine (the web module), against pages served from
// 127.0.0.1.
#include "WebAd.h"
#include "Twips.h"
#include "WebPageView.h"

#include <QApplication>
#include <QFrame>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;

using controls::TwipsToPixels;

namespace {

// A small HTTP/1.0 server on 127.0.0.1: answers every path with `page` and keeps every request
// it received, whole.
struct MiniHttpServer : QTcpServer
{
    QByteArray page = "<html><body>advert</body></html>";
    QList<QByteArray> requests;

    MiniHttpServer()
    {
        connect(this, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(
                socket, &QTcpSocket::readyRead, [this, socket, buffer = QByteArray()]() mutable {
                    static const QRegularExpression length(
                        "content-length: *(\\d+)", QRegularExpression::CaseInsensitiveOption);
                    buffer += socket->readAll();
                    const qsizetype end = buffer.indexOf("\r\n\r\n");
                    const auto match = length.match(QString::fromLatin1(buffer.left(end)));
                    if (end < 0 || buffer.size() < end + 4 + match.captured(1).toInt())
                        return; // the rest is still on its way
                    requests << buffer;
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  QByteArray::number(page.size()) + "\r\n\r\n" + page);
                    socket->disconnectFromHost();
                });
        });
        listen(QHostAddress::LocalHost, 0);
    }
    QString Url(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
};

QString Script(WebPageView* page, const QString& script)
{
    QVariant result;
    bool done = false;
    page->RunScript(script, [&](const QVariant& value) { result = value, done = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 15000)) << script.toStdString();
    return result.toString();
}

// The advert, 3000 x 1500 twips in a window of its own, and a server for its pages.
struct Advert
{
    MiniHttpServer server;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    WebAd* ad = new WebAd(window.get());
    QSignalSpy complete{ad, &WebAd::DocumentComplete};

    Advert()
    {
        window->resize(260, 160);
        ad->setGeometry(10, 10, TwipsToPixels(3000), TwipsToPixels(1500));
        window->show();
    }
    // Waits for the page itself to complete; the first blank page does not count.
    bool Load(const char* path, const QVariant& postData = {}, const QVariant& headers = {})
    {
        const int before = complete.count();
        ad->Navigate(server.Url(path), {}, {}, postData, headers);
        return QTest::qWaitFor(
            [&] {
                return complete.count() > before && complete.last()[0].toBool() &&
                       ad->web()->Url() == QUrl(server.Url(path));
            },
            15000);
    }
};

const char* ScrollGap = "(window.innerWidth - document.documentElement.clientWidth) + ','"
                        " + (window.innerHeight - document.documentElement.clientHeight)";

} // namespace

TEST(WebAd, PostDataHeadersAndAPageThatNeitherTalksNorScrolls)
{
    Advert a;
    a.server.page =
        "<!DOCTYPE html><html><body style='margin:0'><div style='width:3000px;height:3000px'>"
        "</div><script>alert('win!'); var c = confirm('sure?'); var p = prompt('name');"
        "undefinedFunction();</script><script>document.title = 'after:' + c + ':' + p;</script>"
        "</body></html>";
    // A dialog would be modal and stop this test; close any, so it shows up as a failure.
    bool sawDialog = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget())
            sawDialog = true, modal->close();
    });
    watch.start(50);
    ASSERT_TRUE(a.Load("/ad", QByteArray("channel=Jazz&id=7"),
                       "Content-Type: application/x-www-form-urlencoded\r\nX-Corvane: ad\r\n"));
    const QByteArray post = a.server.requests.first();
    ASSERT_TRUE(post.startsWith("POST /ad ")) << post.toStdString();
    EXPECT_TRUE(post.endsWith("\r\n\r\nchannel=Jazz&id=7")) << post.toStdString();
    EXPECT_TRUE(post.contains("\r\nX-Corvane: ad\r\n"));
    EXPECT_FALSE(sawDialog);
    EXPECT_GE(a.ad->web()->SwallowedDialogs(), 3);
    EXPECT_EQ(Script(a.ad->web(), "document.title"), "after:false:null");
    EXPECT_EQ(Script(a.ad->web(), "document.body.getAttribute('scroll')"), "no");
    EXPECT_EQ(Script(a.ad->web(), ScrollGap), "0,0");

    // Put away (the directory in the notification area), the advert gives its browser up and
    // shows its colours; back on screen it asks for the same page again, and is still clicked.
    a.window->hide();
    EXPECT_EQ(a.ad->web(), nullptr);
    EXPECT_FALSE(a.ad->ShowsPage());
    a.window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.ad->ShowsPage(); }, 15000));
    QList<QByteArray> posts;
    for (const QByteArray& request : a.server.requests)
        if (request.startsWith("POST /ad "))
            posts << request;
    ASSERT_EQ(posts.size(), 2);
    EXPECT_EQ(posts[1], post);
    EXPECT_EQ(a.ad->web()->Url(), QUrl(a.server.Url("/ad")));
    QSignalSpy click(a.ad, &WebAd::Click);
    QWidget* surface = a.ad->childAt(a.ad->rect().center());
    QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
    EXPECT_EQ(click.count(), 1);
}

// Until a page has loaded, without the web module, and again when the next page cannot be had
// (the operator out of reach), the panel shows its own colour, not the engine's white. No
// browser exists until there is an address to show.
TEST(WebAd, WithoutAPageThePanelKeepsItsColours)
{
    Advert a;
    const QColor skin(0x06, 0x0c, 0x14);
    a.ad->setBackColor(0x00140c06);
    auto centre = [&] {
        const QImage shot = a.ad->grab().toImage();
        return shot.pixelColor(shot.rect().center());
    };
    a.ad->Navigate(QString());
    EXPECT_EQ(a.ad->web(), nullptr);
    EXPECT_FALSE(a.ad->ShowsPage());
    EXPECT_EQ(centre(), skin);

    qputenv("CORVANE_WEB_MODULE", "/nonexistent/corvane-webpages.so");
    a.ad->Navigate(a.server.Url("/ad"));
    QTest::qWait(100); // the browser is made once the event loop runs again
    qunsetenv("CORVANE_WEB_MODULE");
    EXPECT_EQ(a.ad->web(), nullptr);
    EXPECT_FALSE(a.ad->ShowsPage());
    EXPECT_EQ(centre(), skin);

    a.server.page = "<html><body style='background:#ff0000'>advert</body></html>";
    ASSERT_TRUE(a.Load("/ad"));
    EXPECT_TRUE(a.ad->ShowsPage());
    // Painted, not only loaded: the engine draws without OpenGL.
    EXPECT_TRUE(QTest::qWaitFor([&] { return centre() == QColor(Qt::red); }, 15000))
        << centre().name().toStdString();

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    const qsizetype before = a.complete.count();
    a.ad->Navigate(QStringLiteral("http://127.0.0.1:%1/ad").arg(port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.complete.count() > before; }, 15000));
    EXPECT_FALSE(a.complete.last()[0].toBool());
    EXPECT_FALSE(a.ad->ShowsPage());
    EXPECT_EQ(centre(), skin);
}

TEST(WebAd, GeometryAndClicksThatAreTheControlsNotThePages)
{
    Advert a;
    a.server.page = "<html><body style='margin:0'><a href='/elsewhere' "
                    "style='display:block;width:2000px;height:2000px'>go</a><script>"
                    "document.onmousedown = function() { document.title = 'saw'; };"
                    "</script></body></html>";
    ASSERT_TRUE(a.Load("/link"));
    EXPECT_EQ(a.ad->picWeb()->geometry(), QRect(0, 0, 200, 100));
    // The browser at (-200, -250) twips, so its lower right part shows inside the border.
    EXPECT_EQ(a.ad->web()->geometry(), QRect(-TwipsToPixels(200), -TwipsToPixels(250),
                                             200 + TwipsToPixels(200), 100 + TwipsToPixels(250)));
    EXPECT_EQ(a.ad->web()->parentWidget()->geometry(), a.ad->picWeb()->contentsRect());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(a.window.get(), 15000));
    QSignalSpy click(a.ad, &WebAd::Click);
    QSignalSpy down(a.ad, &WebAd::MouseDown);
    QSignalSpy dbl(a.ad, &WebAd::DblClick);

    // Through the window, as the window system delivers it, to a point over the page.
    QWindow* window = a.window->windowHandle();
    const QPoint onAdvert = a.ad->mapTo(a.window.get(), QPoint(100, 50));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(a.ad->picWeb()->frameShadow(), QFrame::Sunken);
    ASSERT_EQ(down.count(), 1);
    EXPECT_FLOAT_EQ(down[0][2].toFloat(), 100);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(a.ad->picWeb()->frameShadow(), QFrame::Plain);
    EXPECT_EQ(click.count(), 1);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(dbl.count(), 1);
    // The page itself never saw the clicks: no navigation, no handler ran.
    EXPECT_EQ(Script(a.ad->web(), "document.title"), "");
    EXPECT_FALSE(a.server.requests.join().contains("/elsewhere"));

    const int clicks = click.count();
    a.ad->setEnabled(false);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onAdvert);
    EXPECT_EQ(click.count(), clicks) << "disabled, the advert raises nothing";
    a.ad->resize(300, 50);
    EXPECT_EQ(a.ad->web()->size(), QSize(300 + TwipsToPixels(200), 50 + TwipsToPixels(250)));
}
