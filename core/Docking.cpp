#include "Docking.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace core {
namespace {

// Start of a span of Length moved inside [Low, High]; the low end wins when it does not fit.
int Inside(int Start, int Length, int Low, int High)
{
    return qMax(Low, qMin(Start, High - Length + 1));
}

bool Fits(int Start, int Length, int Low, int High)
{
    return Start >= Low && Start + Length - 1 <= High;
}

} // namespace

QPoint DirectoryDockPosition(const QRect& Player)
{
    using controls::PixelsToTwips;
    constexpr int OverlapTwips = 100;
    const int top = PixelsToTwips(Player.top()) + PixelsToTwips(Player.height()) - OverlapTwips;
    return {Player.left(), controls::TwipsToPixels(top)};
}

QPoint RecorderDockPosition(const QRect& Player, int RecorderWidth)
{
    using controls::PixelsToTwips;
    const int left = PixelsToTwips(Player.left()) + PixelsToTwips(RecorderWidth) - 310;
    return {controls::TwipsToPixels(left), Player.top()};
}

QPoint KeepInside(QPoint At, QSize Size, const QRect& Area)
{
    if (Area.isEmpty())
        return At;
    return {Inside(At.x(), Size.width(), Area.left(), Area.right()),
            Inside(At.y(), Size.height(), Area.top(), Area.bottom())};
}

QPoint PlaceDocked(QPoint Wanted, QSize Size, const QRect& Player, DockSide Side, const QRect& Area)
{
    if (Area.isEmpty())
        return Wanted;
    QPoint place = KeepInside(Wanted, Size, Area);
    if (Side == DockSide::Below) {
        const int above = Player.top() - Size.height();
        if (!Fits(Wanted.y(), Size.height(), Area.top(), Area.bottom()) &&
            Fits(above, Size.height(), Area.top(), Area.bottom()))
            place.setY(above);
    } else {
        const int left = Player.left() - Size.width();
        if (!Fits(Wanted.x(), Size.width(), Area.left(), Area.right()) &&
            Fits(left, Size.width(), Area.left(), Area.right()))
            place.setX(left);
    }
    return place;
}

QRect AvailableAreaAt(const QRect& Rect)
{
    QScreen* screen = QGuiApplication::screenAt(Rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace core
