#include "WebPageView.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include <utility>

namespace controls {

namespace {

struct Module
{
    bool told = false; // that it is missing
    WebPageFactory* factory = nullptr;
};

QtMessageHandler g_Previous = nullptr;

// Drawing without OpenGL on purpose (see ChooseEngineSwitches and the module), the engine says so
// twice: when it is loaded after the application (it cannot set up OpenGL sharing then), and when
// its GPU thread looks for an OpenGL surface to read the driver's name from. The pages are drawn
// all the same, so the two are kept off the terminal; everything else goes on as before.
void QuietAboutDrawingWithoutOpenGL(QtMsgType type, const QMessageLogContext& context,
                                    const QString& text)
{
    if (text.startsWith(QLatin1String("Qt WebEngine seems to be initialized from a plugin")) ||
        text.startsWith(QLatin1String("No suitable graphics backend found")))
        return;
    if (g_Previous)
        g_Previous(type, context, text);
}

Module& TheModule()
{
    static Module module;
    return module;
}

// Beside the program's libraries: ../lib/corvane from the program (installed, or the build
// tree's bin), else the build tree's own (its tests and tools live in other folders).
// CORVANE_WEB_MODULE names another file.
QStringList Candidates()
{
    const QString chosen = qEnvironmentVariable("CORVANE_WEB_MODULE");
    if (!chosen.isEmpty())
        return {chosen};
    const QString name = QStringLiteral(CORVANE_WEB_MODULE_NAME);
    return {QDir(QCoreApplication::applicationDirPath())
                .filePath(QStringLiteral("../" CORVANE_WEB_MODULE_SUBDIR "/") + name),
            QStringLiteral(CORVANE_WEB_MODULE_BUILD_DIR "/") + name};
}

WebPageFactory* LoadModule(bool& told);

// The engine's switches, read once when it starts, so set before its library is loaded. They are
// for a small advert and an information page on a machine that may have two cores and no GPU;
// QTWEBENGINE_CHROMIUM_FLAGS given by the user come first and win where they say the same.
void ChooseEngineSwitches()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const auto add = [&flags](const char* name, const char* value = nullptr) {
        if (flags.contains(name))
            return;
        flags += QByteArray(" --") + name;
        if (value)
            flags += QByteArray("=") + value;
    };
    // The pages are drawn by the CPU (the module gives Qt Quick its software renderer): a GPU
    // process, or a GPU thread, would only load an OpenGL driver (on a machine without a GPU,
    // Mesa's software one and LLVM, some 60 MB) to draw the same pixels.
    add("disable-gpu");
    add("disable-gpu-compositing");
    // What GPU work remains (none is expected) stays a thread: a GPU helper process maps the
    // engine's library of its own.
    add("in-process-gpu");
    // The advert and the viewer in one renderer process when they come from one site, as an
    // operator's usually do: a renderer for each costs a process and some ten megabytes more.
    // Pages of other sites still get renderers of their own (site isolation stays on).
    add("renderer-process-limit", "1");
    add("process-per-site");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    // Starting, the engine asks whether OpenGL may be used from several threads, and to answer
    // Qt makes a throwaway OpenGL context, which loads the driver (and LLVM) all the same. The
    // answer does not matter without OpenGL; a video view made before has loaded it anyway.
    if (!qEnvironmentVariableIsSet("QT_OPENGL_NO_SANITY_CHECK"))
        qputenv("QT_OPENGL_NO_SANITY_CHECK", "1");
}

WebPageFactory* Load(bool& told)
{
    ChooseEngineSwitches();
    // Kept for the rest of the run: the engine's GPU thread speaks up later.
    static const bool quiet = [] {
        g_Previous = qInstallMessageHandler(QuietAboutDrawingWithoutOpenGL);
        return true;
    }();
    Q_UNUSED(quiet);
    return LoadModule(told);
}

WebPageFactory* LoadModule(bool& told)
{
    QString failure;
    for (const QString& path : Candidates()) {
        if (!QFileInfo::exists(path)) {
            failure = QStringLiteral("%1: no such file").arg(path);
            continue;
        }
        // Kept for the whole run: the views it makes live in the windows.
        auto* loader = new QPluginLoader(path, QCoreApplication::instance());
        if (auto* factory = qobject_cast<WebPageFactory*>(loader->instance()))
            return factory;
        failure = loader->errorString();
    }
    if (!std::exchange(told, true))
        qWarning("Web pages cannot be shown: %s", qUtf8Printable(failure));
    return nullptr;
}

} // namespace

WebPageView* CreateWebPageView(QWidget* parent)
{
    // Tried again for every view while it is missing: it may have been installed since.
    Module& module = TheModule();
    if (!module.factory)
        module.factory = Load(module.told);
    return module.factory ? module.factory->CreateView(parent) : nullptr;
}

bool WebModuleLoaded()
{
    return TheModule().factory != nullptr;
}

void WhenWindowsAreUp(QObject* Context, std::function<void()> Then)
{
    if (WebModuleLoaded()) {
        QTimer::singleShot(0, Context, std::move(Then));
        return;
    }
    // On a loaded machine the window manager needs the processor too: a window it has yet to put
    // on screen would wait for the engine's start. A window that never shows (minimised) holds
    // the engine back for the deadline only.
    auto* poll = new QTimer(Context);
    poll->setInterval(20);
    QObject::connect(
        poll, &QTimer::timeout, Context,
        [poll, deadline = QDeadlineTimer(2000), Then = std::move(Then)] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            const bool up = std::all_of(windows.begin(), windows.end(), [](QWidget* w) {
                return !w->isVisible() || (w->windowHandle() && w->windowHandle()->isExposed());
            });
            if (!up && !deadline.hasExpired())
                return;
            poll->stop();
            poll->deleteLater();
            Then();
        });
    poll->start();
}

} // namespace controls
