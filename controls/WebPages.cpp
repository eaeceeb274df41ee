#include "WebPageView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include <utility>

namespace controls {

namespace {

struct Module
{
    bool told = false; // that it is missing
    WebPageFactory* factory = nullptr;
};

QtMessageHandler g_Previous = nullptr;

// Qt says that the attribute belongs before the application: here it is set late on purpose.
void QuietAboutTheLateAttribute(QtMsgType type, const QMessageLogContext& context,
                                const QString& text)
{
    if (!text.contains(QLatin1String("AA_ShareOpenGLContexts")))
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

// Qt WebEngine composites its pages with a global OpenGL context that Qt makes at start when
// Qt::AA_ShareOpenGLContexts is set before the application exists (the engine's library sets it
// itself when it is loaded that early). Set at start, it costs every session Mesa's software
// renderer and LLVM on a machine without a GPU, tens of megabytes, for what may only be radio; the
// video view does not need it (it follows a new context when it goes full screen). So the
// program never sets it at start: the attribute is set here, just before the engine's library is
// loaded (which then says nothing about being loaded late), and the module makes the engine's
// global context when it is loaded (without one the engine crashes at its first page). Sessions
// that show no page never have it; no restart is needed when an operator adds a page.
WebPageFactory* Load(bool& told)
{
    // The engine's GPU work on a thread of this process rather than in a helper process of its
    // own: that helper maps the engine's library and an OpenGL driver of its own, tens of
    // megabytes for two small pages (read when the engine starts, so set before it is loaded).
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("-gpu"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --in-process-gpu").trimmed());
    g_Previous = qInstallMessageHandler(QuietAboutTheLateAttribute);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    WebPageFactory* factory = LoadModule(told);
    qInstallMessageHandler(g_Previous);
    return factory;
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

} // namespace controls
