#include "FormSkin.h"

#include "Artwork.h"
#include "InputCodes.h"
#include "MakeSk.h"
#include "PropertyBag.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace controls {

namespace {

// Shows the skin image at its natural size; the image is also the off-screen copy the region is
// read from, so nothing needs reading back from the screen.
class SkinPicture : public QWidget
{
  public:
    explicit SkinPicture(QWidget* parent) : QWidget(parent) {}
    void SetImage(const QImage* image)
    {
        m_image = image;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        // On a dense screen the skin's twin, at the same place and size: the shape and the size
        // of the window stay those of the skin itself.
        if (m_image && !m_image->isNull())
            QPainter(this).drawImage(QPoint(0, 0), ImageForRatio(*m_image, devicePixelRatioF()));
    }

  private:
    const QImage* m_image = nullptr;
};

const QString PictureKey = QStringLiteral("Picture");

} // namespace

FormSkin::FormSkin(QWidget* parent) : QWidget(parent), m_pic(new SkinPicture(this))
{
    static_cast<SkinPicture*>(m_pic)->SetImage(&m_picture);
    m_pic->installEventFilter(this);
    m_pic->setGeometry(rect());
}

void FormSkin::setPicture(const QImage& vNewValue)
{
    m_picture = vNewValue;
    static_cast<SkinPicture*>(m_pic)->SetImage(&m_picture);
    if (!m_picture.isNull())
        m_pic->resize(m_picture.size());
    ApplyResizeRule();
}

void FormSkin::MakeSkin(bool TF)
{
    if (!TF)
        return;
    if (!m_picture.isNull())
        m_pic->setGeometry(QRect(QPoint(0, 0), m_picture.size()));
    resize(m_pic->size());
    ApplyResizeRule(); // also when the size did not change and no resize event follows
    QWidget* owner = window();
    if (owner == this)
        return;
    const QRegion region = RegionFromPicture(m_picture);
    // An image with nothing opaque gives no shape: the window shows as its plain rectangle.
    if (region.isEmpty())
        owner->clearMask();
    else
        owner->setMask(region);
}

void FormSkin::ReadProperties(const PropertyBag& bag)
{
    setPicture(bag.ReadProperty(PictureKey, QImage()).value<QImage>());
}

void FormSkin::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(PictureKey, m_picture, QImage());
}

void FormSkin::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplyResizeRule();
}

void FormSkin::ApplyResizeRule()
{
    if (m_picture.isNull()) {
        m_pic->setGeometry(rect());
        return;
    }
    if (size() != m_pic->size())
        resize(m_pic->size()); // comes back here through resizeEvent with the sizes equal
    QWidget* owner = window();
    if (owner == this)
        return;
    if (!owner->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // New window flags re-create the native window hidden; keep it where and as it was.
        const bool visible = owner->isVisible();
        const QRect geometry = owner->geometry();
        owner->setWindowFlag(Qt::FramelessWindowHint, true);
        owner->setGeometry(geometry); // client area stays put: move() would place the old frame
        if (visible)
            owner->show();
    }
    owner->resize(size());
}

bool FormSkin::PicMouseEvent(QEvent::Type type, QMouseEvent* event)
{
    const QPointF at = event->position();
    const int shift = controls::ShiftCode(event->modifiers());
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (event->button() == Qt::LeftButton && window() != this)
            m_move.Press(*window(), event->globalPosition().toPoint());
        emit MouseDown(controls::ButtonCode(event->button()), shift, at.x(), at.y());
        return true;
    case QEvent::MouseMove:
        if (window() != this && m_move.Motion(*window(), event->globalPosition().toPoint(),
                                              event->buttons().testFlag(Qt::LeftButton)))
            return true;
        emit MouseMove(controls::ButtonCode(event->buttons()), shift, at.x(), at.y());
        return true;
    case QEvent::MouseButtonRelease:
        // The window manager's own move swallows the release; ours does the same, so the owner
        // sees one MouseDown for a drag either way.
        if (event->button() == Qt::LeftButton && m_move.Release(*window()))
            return true;
        emit MouseUp(controls::ButtonCode(event->button()), shift, at.x(), at.y());
        return true;
    default:
        return false;
    }
}

bool FormSkin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pic) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)
            return PicMouseEvent(type, static_cast<QMouseEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

// Presses on the control's own surface, outside the picture, only report; they never drag.
void FormSkin::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseDown(controls::ButtonCode(event->button()), controls::ShiftCode(event->modifiers()),
                   at.x(), at.y());
}

void FormSkin::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseMove(controls::ButtonCode(event->buttons()), controls::ShiftCode(event->modifiers()),
                   at.x(), at.y());
}

void FormSkin::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseUp(controls::ButtonCode(event->button()), controls::ShiftCode(event->modifiers()),
                 at.x(), at.y());
}

} // namespace controls
