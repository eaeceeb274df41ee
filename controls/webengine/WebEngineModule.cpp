// The web module: page views on Qt WebEngine, made for the windows through WebPageFactory. The
// program loads this file only when it first has a page to show.
#include "WebAdPage.h"
#include "WebPageView.h"

#include <QLoggingCategory>
#include <QObject>
#include <QQuickWindow>
#include <QResizeEvent>
#include <QWebEngineHttpRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <optional>

namespace controls {

namespace {

constexpr int HttpCacheBytes = 2 * 1024 * 1024;

QLoggingCategory::CategoryFilter g_OtherFilter = nullptr;

// When the engine starts it reports the format of the shared OpenGL context at the info level,
// without asking whether there is one: with the software renderer there is none, and the report
// would crash. Kept quiet whatever the logging rules say.
void WithoutTheContextReport(QLoggingCategory* category)
{
    if (g_OtherFilter)
        g_OtherFilter(category);
    if (qstrcmp(category->categoryName(), "qt.webenginecontext") == 0) {
        category->setEnabled(QtDebugMsg, false);
        category->setEnabled(QtInfoMsg, false);
    }
}

class EngineView final : public WebPageView
{
  public:
    explicit EngineView(QWidget* parent)
        : WebPageView(parent), m_web(new QWebEngineView(this)),
          m_page(new WebAdPage(QWebEngineProfile::defaultProfile(), m_web))
    {
        m_web->setPage(m_page);
        m_web->setContextMenuPolicy(Qt::NoContextMenu);
        QObject::connect(m_web, &QWebEngineView::loadFinished, m_web,
                         [this](bool ok) { Finished(ok); });
    }

    void Load(const WebRequest& request) override
    {
        QWebEngineHttpRequest engineRequest(request.Url);
        if (!request.PostData.isEmpty()) {
            engineRequest.setMethod(QWebEngineHttpRequest::Post);
            engineRequest.setPostData(request.PostData);
        }
        for (const auto& [name, value] : request.Headers)
            engineRequest.setHeader(name, value);
        if (m_engineReady) {
            m_web->load(engineRequest);
            return;
        }
        // The engine drops the body and headers of a request made before its first page has
        // loaded: until then the latest request waits behind a blank page.
        m_pending = engineRequest;
        if (!m_warmingUp) {
            m_warmingUp = true;
            m_web->setUrl(QUrl(QStringLiteral("about:blank")));
        }
    }

    void Back() override { m_web->back(); }
    void Forward() override { m_web->forward(); }
    void Reload() override { m_web->reload(); }
    QUrl Url() const override { return m_pending ? m_pending->url() : m_web->url(); }
    QString Title() const override { return m_web->title(); }
    int SwallowedDialogs() const override { return m_page->SwallowedDialogs(); }

    void RunScript(const QString& script, std::function<void(const QVariant&)> Done) override
    {
        m_page->runJavaScript(script, [Done = std::move(Done)](const QVariant& result) {
            if (Done)
                Done(result);
        });
    }

  protected:
    void resizeEvent(QResizeEvent* event) override
    {
        WebPageView::resizeEvent(event);
        m_web->setGeometry(rect());
    }

  private:
    void Finished(bool ok)
    {
        m_engineReady = true;
        if (m_warmingUp) {
            m_warmingUp = false;
            if (m_pending) {
                m_web->load(*m_pending);
                m_pending.reset();
            }
            return;
        }
        if (onLoadFinished)
            onLoadFinished(ok);
    }

    QWebEngineView* m_web;
    WebAdPage* m_page;
    bool m_engineReady = false;
    bool m_warmingUp = false;
    std::optional<QWebEngineHttpRequest> m_pending;
};

} // namespace

class WebEngineModule : public QObject, public WebPageFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID CORVANE_WEB_PAGES_IID)
    Q_INTERFACES(controls::WebPageFactory)

  public:
    WebEngineModule()
    {
        // The engine draws its pages through Qt Quick, which would otherwise want an OpenGL
        // context shared with every other one, made before the application exists (so in every
        // session, for what may only be radio), and an OpenGL driver. The software renderer needs
        // neither: the engine then composites on the CPU, which two small pages hardly notice.
        // Nothing else in the program uses Qt Quick, and no Qt Quick window exists before this.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
        g_OtherFilter = QLoggingCategory::installFilter(WithoutTheContextReport);
        // The pages are small and fetched afresh each run: the profile keeps nothing on disk
        // (it is off the record), and a small cache in memory is enough.
        QWebEngineProfile::defaultProfile()->setHttpCacheMaximumSize(HttpCacheBytes);
    }

    WebPageView* CreateView(QWidget* parent) override { return new EngineView(parent); }
};

} // namespace controls

#include "WebEngineModule.moc"
