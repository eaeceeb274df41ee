#include "Artwork.h"

#include <QHash>
#include <QWidget>
#include <cmath>

namespace controls {

namespace {

// Loaded once each: the same image keeps its cache key, by which drawing finds its path again.
QHash<QString, QImage>& Loaded()
{
    static QHash<QString, QImage> loaded;
    return loaded;
}

QHash<qint64, QString>& Paths()
{
    static QHash<qint64, QString> paths;
    return paths;
}

QString TwinPath(const QString& Path)
{
    const qsizetype dot = Path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? Path + QStringLiteral("@2x")
                   : Path.left(dot) + QStringLiteral("@2x") + Path.mid(dot);
}

} // namespace

QImage LoadArtwork(const QString& Path)
{
    auto found = Loaded().constFind(Path);
    if (found != Loaded().constEnd())
        return *found;
    const QImage image(Path);
    Loaded().insert(Path, image);
    if (!image.isNull())
        Paths().insert(image.cacheKey(), Path);
    return image;
}

QImage ImageForRatio(const QImage& Picture, qreal Ratio)
{
    if (Picture.isNull() || std::abs(Ratio - 1.0) < 0.01)
        return Picture;
    const QString path = Paths().value(Picture.cacheKey());
    if (path.isEmpty())
        return Picture;
    static QHash<QString, QImage> made;
    const QString key = path + QLatin1Char('|') + QString::number(Ratio);
    if (auto found = made.constFind(key); found != made.constEnd())
        return *found;
    // The nearer of the two drawings; on a tie the larger, which loses less when scaled down.
    QImage source = Ratio >= 1.5 ? LoadArtwork(TwinPath(path)) : QImage();
    if (source.isNull())
        source = Picture;
    const QSize wanted(qRound(Picture.width() * Ratio), qRound(Picture.height() * Ratio));
    QImage result = source.size() == wanted
                        ? source
                        : source.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.setDevicePixelRatio(Ratio);
    made.insert(key, result);
    return result;
}

QPixmap PixmapFor(const QImage& Picture, const QWidget& Shown)
{
    return QPixmap::fromImage(ImageForRatio(Picture, Shown.devicePixelRatioF()));
}

} // namespace controls
