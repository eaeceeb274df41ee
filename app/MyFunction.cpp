#include "MyFunction.h"

#include "Config.h"
#include "InetTransfer.h"
#include "ProgramFolder.h"
#include "ProgramState.h"
#include "Twips.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

using corvane::PixelsToTwips;
using corvane::TwipsToPixels;

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
    const auto all = QApplication::topLevelWidgets();
    for (QWidget* window : all)
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }
    QCoreApplication::quit();
}

namespace {

// Blanks only, as the old text routines trim.
QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// Replace with an empty search text leaves the text as it is.
QString RemoveAll(QString text, const QString& what)
{
    if (!what.isEmpty())
        text.remove(what, Qt::CaseSensitive);
    return text;
}

} // namespace

QString GetPort(const QString& Address)
{
    const qsizetype colon = Address.lastIndexOf(QLatin1Char(':'));
    const QString head = colon < 0 ? QString() : TrimBlanks(Address.left(colon + 1));
    return RemoveAll(RemoveAll(Address, head), QStringLiteral("/"));
}

QString GetHost(const QString& Address)
{
    QString host = RemoveAll(Address, GetPort(Address));
    host = RemoveAll(host, QStringLiteral("http://"));
    host = RemoveAll(host, QStringLiteral(":"));
    return RemoveAll(host, QStringLiteral("/"));
}

bool DownloadSettingsFile(corvane::InetTransfer& Inet, const QString& FileName)
{
    QPointer<corvane::InetTransfer> inet(&Inet);
    const QByteArray body = Inet.OpenURL(Config::SettingsFileAddress(ServerURL, FileName));
    // The fetch ran a nested event loop: the program may be ending, or the component gone.
    if (ProgramEnding || !inet || inet->StillExecuting() ||
        !body.startsWith(Config::ValidityMarker))
        return false;
    QSaveFile file(ProgramFolder() + QLatin1Char('/') + FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        qWarning("Could not store %s: %s", qPrintable(FileName), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

void MsgBox(QWidget* Parent, const QString& Text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Corvane net player"), Text,
                    QMessageBox::Ok, Parent);
    box.exec();
}
