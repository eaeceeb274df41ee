#include "KeyboardAccess.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QWidget>

namespace controls {

namespace {

// The artwork's accent (assets/tool/Palette.h): amber reads on every face of the skins.
const QColor RingColour{0xf2, 0xb1, 0x34};

// Accepting the override hands the key to the focused control instead of a shortcut.
class KeyKeeper : public QObject
{
  public:
    KeyKeeper(QWidget& Control, std::initializer_list<int> Keys) : QObject(&Control), m_Keys(Keys)
    {
        Control.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::NoModifier && m_Keys.contains(key->key()))
                key->accept();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QList<int> m_Keys;
};

// A control a person operates that shows no text of its own to be named by. Buttons with a
// caption are named by it (a tooltip may say something else: "Cancel" tipped "Edit server URL").
bool OperatedWithoutText(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text().isEmpty();
    return qobject_cast<const QAbstractItemView*>(&control) ||
           qobject_cast<const QLineEdit*>(&control) ||
           qobject_cast<const QPlainTextEdit*>(&control) ||
           control.property("imageButton").toBool();
}

} // namespace

void DrawFocusRing(QPainter& Painter, const QRect& Area, bool Round)
{
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(RingColour, 1.5));
    Painter.setBrush(Qt::NoBrush);
    const QRectF inside = QRectF(Area).adjusted(1, 1, -1, -1);
    const qreal radius = qMin(inside.width(), inside.height()) / (Round ? 2.0 : 4.0);
    Painter.drawRoundedRect(inside, radius, radius);
    Painter.restore();
}

QString FocusRingStyle(const QString& Selector)
{
    return QStringLiteral("%1:focus { border: 2px solid %2; }").arg(Selector, RingColour.name());
}

void KeepButtonKeys(QWidget& Button)
{
    new KeyKeeper(Button, {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter});
}

void KeepListKeys(QWidget& List)
{
    new KeyKeeper(List, {Qt::Key_Up, Qt::Key_Down});
}

void CloseOnEscape(QWidget& Window, std::function<void()> Close)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &Window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &Window, std::move(Close));
}

void NameControlsAfterToolTips(QWidget& Window)
{
    for (QWidget* control : Window.findChildren<QWidget*>()) {
        if (control->accessibleName().isEmpty() && !control->toolTip().isEmpty() &&
            OperatedWithoutText(*control))
            control->setAccessibleName(control->toolTip());
    }
}

void AnnounceChecked(QWidget& Control, bool Checked)
{
    const QVariant was = Control.property("checked");
    if (was.isValid() && was.toBool() == Checked)
        return;
    Control.setProperty("checked", Checked);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(&Control, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace controls
