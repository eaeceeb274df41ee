#include "WindowRegistry.h"

#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace core {
namespace {

struct Registry
{
    QHash<QString, WindowFactory> factories;
    QHash<QString, QPointer<QWidget>> open;
};

Registry& Windows()
{
    static Registry registry;
    return registry;
}

// A closed window stays alive until its deferred deletion; from the moment its close is accepted
// it no longer counts as open, so showing it again in the same turn loads a fresh one. A close
// that is accepted hides the window within the same call, so "close, then hide" means closed.
class ClosingWatch : public QObject
{
  public:
    ClosingWatch(const QString& name, QWidget* window) : QObject(window), m_Name(name)
    {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            m_Closing = true;
            QTimer::singleShot(0, this, [this] { m_Closing = false; });
        } else if (event->type() == QEvent::Hide && m_Closing) {
            Registry& registry = Windows();
            if (registry.open.value(m_Name) == watched)
                registry.open.remove(m_Name);
        }
        return false;
    }

  private:
    QString m_Name;
    bool m_Closing = false;
};

} // namespace

void RegisterWindow(const QString& Name, WindowFactory Factory)
{
    Windows().factories.insert(Name, std::move(Factory));
}

QWidget* FindWindow(const QString& Name)
{
    return Windows().open.value(Name).data();
}

void AdoptWindow(const QString& Name, QWidget* Window)
{
    if (!Window)
        return;
    if (Window->objectName().isEmpty())
        Window->setObjectName(Name);
    if (!Window->property("registryWatched").toBool()) {
        Window->setProperty("registryWatched", true);
        new ClosingWatch(Name, Window);
    }
    Windows().open.insert(Name, Window);
}

QWidget* LoadWindow(const QString& Name)
{
    if (QWidget* open = FindWindow(Name))
        return open;
    const WindowFactory factory = Windows().factories.value(Name);
    if (!factory)
        return nullptr;
    QWidget* window = factory();
    AdoptWindow(Name, window);
    return window;
}

QList<QWidget*> OpenWindowsInEndingOrder()
{
    const Registry& registry = Windows();
    QList<QWidget*> ordered;
    for (auto it = registry.open.cbegin(); it != registry.open.cend(); ++it) {
        const bool listed =
            std::find_if(std::begin(EndingOrder), std::end(EndingOrder), [&](const char* name) {
                return it.key() == QLatin1String(name);
            }) != std::end(EndingOrder);
        if (!listed && it.value())
            ordered.append(it.value());
    }
    for (const char* name : EndingOrder) {
        if (QWidget* window = FindWindow(QString::fromLatin1(name)))
            ordered.append(window);
    }
    return ordered;
}

QWidget* ShowWindow(const QString& Name)
{
    QWidget* window = LoadWindow(Name);
    if (!window)
        return nullptr;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace core
