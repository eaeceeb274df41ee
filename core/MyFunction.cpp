#include "MyFunction.h"

#include "Config.h"
#include "InetTransfer.h"
#include "ProgramFolder.h"
#include "ProgramState.h"
#include "StartupResult.h"
#include "Twips.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

namespace core {

using controls::PixelsToTwips;
using controls::TwipsToPixels;

void CenterForm(QWidget& Window)
{
    QScreen* screen = Window.screen() ? Window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = Window.frameGeometry().size();
    const double top = (PixelsToTwips(area.height()) - PixelsToTwips(size.height())) / 2.0;
    const double left = (PixelsToTwips(area.width()) - PixelsToTwips(size.width())) / 2.0;
    Window.move(area.x() + TwipsToPixels(qRound(left)), area.y() + TwipsToPixels(qRound(top)));
}

void UnloadAllForms()
{
    // Closing one window may close or delete others; walk guarded pointers.
    QList<QPointer<QWidget>> windows;
    const auto open = OpenWindowsInEndingOrder();
    for (QWidget* window : open)
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }
    QCoreApplication::quit();
}

void EndProgram()
{
    const auto windows = OpenWindowsInEndingOrder();
    for (QWidget* window : windows) {
        window->hide();
        // A download whose body has not reached its file yet never will.
        const auto transfers = window->findChildren<platform::InetTransfer*>();
        for (platform::InetTransfer* transfer : transfers)
            transfer->Cancel();
    }
    QCoreApplication::exit(0);
}

bool DownloadSettingsFile(platform::InetTransfer& Inet, const QString& FileName)
{
    return Inet.OpenURL(Config::SettingsFileAddress(State().ServerURL(), FileName));
}

bool StoreSettingsFile(const platform::InetTransfer& Inet, const QString& FileName,
                       const QByteArray& Body)
{
    // The directory tells the user when the list it shows is not this run's.
    const bool channelList = FileName == QLatin1String(Config::ChannelFile);
    if (Inet.LastOutcome() != platform::InetTransfer::Outcome::Answered) {
        if (channelList && Inet.LastOutcome() == platform::InetTransfer::Outcome::Failed)
            NoteChannelListFetch(ChannelListFetch::NotReached);
        return false;
    }
    if (!Body.startsWith(Config::ValidityMarker)) {
        if (channelList)
            NoteChannelListFetch(ChannelListFetch::NoList);
        return false;
    }
    QSaveFile file(ProgramFolder() + QLatin1Char('/') + FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(Body) != Body.size() || !file.commit()) {
        qWarning("Could not store %s: %s", qPrintable(FileName), qPrintable(file.errorString()));
        return false;
    }
    if (channelList)
        NoteChannelListFetch(ChannelListFetch::Stored);
    return true;
}

} // namespace core
