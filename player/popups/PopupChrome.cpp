#include "PopupChrome.h"

#include "Artwork.h"
#include "WindowMove.h"

#include <QPainter>
#include <QWidget>

namespace player {

QImage Artwork(const QString& Path, QSize Size, const QColor& Fill)
{
    QImage image = controls::LoadArtwork(Path);
    if (!image.isNull())
        return image;
    image = QImage(Size, QImage::Format_RGB32);
    image.fill(Fill);
    return image;
}

QImage CloseArtwork(const QString& Path, QSize Size)
{
    QImage image = controls::LoadArtwork(Path);
    if (!image.isNull())
        return image;
    image = QImage(Size, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x30, 0x30));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xe0, 0xe0, 0xe0), 2));
    const QRectF cross = QRectF(QPointF(0, 0), Size).adjusted(4, 4, -4, -4);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    return image;
}

void MakeDragHandle(QWidget& Handle)
{
    controls::MakeMoveHandle(Handle, Qt::AllButtons);
}

} // namespace player
