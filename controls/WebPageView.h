// A browser the windows can show without linking one. The web engine is heavy (its library maps
// tens of megabytes, and it starts helper processes), and most sessions show no page at all: it
// lives in a module of its own that is loaded the first time a page is to be shown.
#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <QtPlugin>

#include <functional>
#include <utility>

namespace controls {

struct WebRequest
{
    QUrl Url;
    QByteArray PostData; // not empty: a POST with this body
    QList<std::pair<QByteArray, QByteArray>> Headers;
};

// A page filling the widget. The page never shows a dialog of its own (alerts, confirmations,
// prompts are swallowed and counted), opens no windows and has no context menu. The advert and
// the information viewer share one browser profile.
class WebPageView : public QWidget
{
  public:
    using QWidget::QWidget;

    virtual void Load(const WebRequest& request) = 0;
    virtual void Back() = 0;
    virtual void Forward() = 0;
    virtual void Reload() = 0;
    virtual QUrl Url() const = 0;
    virtual QString Title() const = 0;
    // Runs a script in the page; Done gets its result (an invalid value for none).
    virtual void RunScript(const QString& script, std::function<void(const QVariant&)> Done) = 0;
    virtual int SwallowedDialogs() const = 0;

    // A page the caller asked for finished loading (false: it could not be loaded).
    std::function<void(bool ok)> onLoadFinished;
};

class WebPageFactory
{
  public:
    virtual ~WebPageFactory() = default;
    virtual WebPageView* CreateView(QWidget* parent) = 0;
};

// A new page view, loading the web module the first time; null when the module cannot be
// loaded (said once on standard error): the caller shows what it shows without a page.
WebPageView* CreateWebPageView(QWidget* parent);
// Whether the web module has been loaded in this process.
bool WebModuleLoaded();
// Runs Then in a later turn of the event loop (not at all once Context is gone). While the web
// module is still to be loaded, that waits until every window shown so far is on screen (a
// second or two at most): loading the engine holds the program up, and the windows come first.
void WhenWindowsAreUp(QObject* Context, std::function<void()> Then);

} // namespace controls

#define CORVANE_WEB_PAGES_IID "org.corvane.NetPlayer.WebPageFactory/1"
Q_DECLARE_INTERFACE(controls::WebPageFactory, CORVANE_WEB_PAGES_IID)
