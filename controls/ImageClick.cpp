#include "ImageClick.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace controls {

namespace {

class ImageClickFilter : public QObject
{
  public:
    ImageClickFilter(QWidget& Image, std::function<void()> Clicked)
        : QObject(&Image), m_Image(Image), m_Clicked(std::move(Clicked))
    {
        Image.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched != &m_Image ||
            (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease))
            return QObject::eventFilter(watched, event);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            m_Image.rect().contains(mouse->position().toPoint()))
            m_Clicked();
        return true;
    }

  private:
    QWidget& m_Image;
    std::function<void()> m_Clicked;
};

} // namespace

void OnImageClick(QWidget& Image, std::function<void()> Clicked)
{
    new ImageClickFilter(Image, std::move(Clicked));
}

} // namespace controls
