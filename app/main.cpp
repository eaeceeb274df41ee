#include "PlayerHandOver.h"
#include "StartupEnvironment.h"
#include "frmLoad.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv)
{
    // Decided before the application exists: Qt reads these when it starts.
    app::PrepareStartupEnvironment();
    // The media view (OpenGL) and the web views share one context family.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationName(QStringLiteral("Corvane_net_player"));
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    app::RegisterWindows();

    (new app::frmLoad)->show();
    return QApplication::exec();
}
