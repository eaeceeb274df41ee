#include "ImageClick.h"

#include "KeyboardAccess.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace controls {

namespace {

class ImageClickFilter : public QObject
{
  public:
    ImageClickFilter(QWidget& Image, std::function<void()> Clicked)
        : QObject(&Image), m_Image(Image), m_Clicked(std::move(Clicked))
    {
        setObjectName(QStringLiteral("ImageClick"));
        Image.installEventFilter(this);
    }
    void Click() { m_Clicked(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_Image)
            return QObject::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                m_Image.rect().contains(mouse->position().toPoint()))
                m_Clicked();
            return true;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            m_Clicked();
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            m_Image.update();
            return false;
        default:
            return false;
        }
    }

  private:
    QWidget& m_Image;
    std::function<void()> m_Clicked;
};

// Drawn over the picture, which paints itself underneath.
class FocusRingOverlay : public QWidget
{
  public:
    explicit FocusRingOverlay(QWidget& Image) : QWidget(&Image)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        Image.installEventFilter(this);
        setGeometry(Image.rect());
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            setGeometry(static_cast<QWidget*>(watched)->rect());
        else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            update();
        return false;
    }
    void paintEvent(QPaintEvent*) override
    {
        if (parentWidget()->hasFocus()) {
            QPainter painter(this);
            DrawFocusRing(painter, rect());
        }
    }
};

class ImageButtonAccessible : public QAccessibleWidget
{
  public:
    explicit ImageButtonAccessible(QWidget* Image) : QAccessibleWidget(Image, QAccessible::Button)
    {
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QVariant checked = widget()->property("checked");
        if (checked.isValid()) {
            state.checkable = true;
            state.checked = checked.toBool();
        }
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& Action) override
    {
        if (Action == pressAction())
            Press(*widget());
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* ImageButtonFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property("imageButton").toBool())
        return new ImageButtonAccessible(widget);
    return nullptr;
}

} // namespace

void OnImageClick(QWidget& Image, std::function<void()> Clicked)
{
    static const bool factory = (QAccessible::installFactory(ImageButtonFactory), true);
    (void)factory;
    Image.setProperty("imageButton", true);
    Image.setFocusPolicy(Qt::StrongFocus);
    new ImageClickFilter(Image, std::move(Clicked));
    new FocusRingOverlay(Image);
    KeepButtonKeys(Image);
}

void Press(QWidget& Control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&Control)) {
        button->click();
    } else if (auto* click = Control.findChild<ImageClickFilter*>(QStringLiteral("ImageClick"),
                                                                  Qt::FindDirectChildrenOnly)) {
        click->Click();
    }
}

} // namespace controls
