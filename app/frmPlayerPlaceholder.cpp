// A plain stand-in for the player window, so that the start-up can hand over to something until
// the real player window exists. It shows what the start-up produced and offers the server URL
// dialog and Exit.
#include "PlayerHandOver.h"

#include "Config.h"
#include "MyFunction.h"
#include "ProgramState.h"
#include "frmSettings.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace app {

using namespace controls;
using namespace core;

namespace {

QWidget* OpenPlayer()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == QLatin1String("frmPlayer"))
            return window;
    }
    return nullptr;
}

QWidget* CreatePlayer()
{
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("frmPlayer"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Corvane net player"));
    PlayerTitle = Config::Read(Config::InfoTitle);
    auto* layout = new QVBoxLayout(window);
    auto* lblTitle = new QLabel(PlayerTitle.isEmpty() ? window->windowTitle() : PlayerTitle);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    layout->addWidget(lblTitle);
    layout->addWidget(new QLabel(QStringLiteral("Server: ") + Config::Read(Config::ServerURL)));
    auto* btnSettings = new QPushButton(QStringLiteral("Settings"));
    auto* btnExit = new QPushButton(QStringLiteral("Exit"));
    layout->addWidget(btnSettings);
    layout->addWidget(btnExit);
    QObject::connect(btnSettings, &QPushButton::clicked, window, [] { (new frmSettings)->show(); });
    QObject::connect(btnExit, &QPushButton::clicked, window, [] { UnloadAllForms(); });
    window->resize(360, 160);
    CenterForm(*window);
    return window;
}

} // namespace

QWidget* ShowPlayerWindow()
{
    QWidget* window = OpenPlayer();
    if (!window)
        window = CreatePlayer();
    window->show();
    return window;
}

} // namespace app
