#include "PopupChrome.h"

#include "X11Move.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace player {

namespace {

class DragFilter : public QObject
{
  public:
    explicit DragFilter(QWidget& handle) : QObject(&handle) { handle.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* handle = static_cast<QWidget*>(watched);
        QWidget* window = handle->window();
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_offset = window->pos() - mouse->globalPosition().toPoint();
            QWindow* native = window->windowHandle();
            m_systemMove = native && native->startSystemMove();
            m_following = !m_systemMove;
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // Motion while the window manager says it moves the window: it accepted but does
            // not move it (openbox under XInput2). Take the move back and follow the mouse.
            if (m_systemMove && mouse->buttons() != Qt::NoButton) {
                controls::CancelSystemMove(window->windowHandle());
                m_systemMove = false;
                m_following = true;
            }
            if (m_following)
                window->move(mouse->globalPosition().toPoint() + m_offset);
            return m_following;
        }
        case QEvent::MouseButtonRelease:
            m_following = m_systemMove = false;
            return true;
        default:
            return false;
        }
    }

  private:
    QPoint m_offset;
    bool m_systemMove = false;
    bool m_following = false;
};

} // namespace

QImage Artwork(const QString& Path, QSize Size, const QColor& Fill)
{
    QImage image(Path);
    if (!image.isNull())
        return image;
    image = QImage(Size, QImage::Format_RGB32);
    image.fill(Fill);
    return image;
}

QImage CloseArtwork(const QString& Path, QSize Size)
{
    QImage image(Path);
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
    new DragFilter(Handle);
}

} // namespace player
