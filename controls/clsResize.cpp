#include "clsResize.h"

#include "Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <cmath>

namespace controls {

namespace {

// The window's controls are the widgets placed on it and inside plain containers (frames, group
// boxes, bare widgets); the inner parts of a composite widget (a scroll area's viewport, a combo
// box's button) belong to that widget, which lays them out itself.
bool IsContainer(const QWidget* widget)
{
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           type == &QGroupBox::staticMetaObject;
}

void CollectControls(QWidget* parent, QList<QWidget*>& controls)
{
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        controls << widget;
        if (IsContainer(widget))
            CollectControls(widget, controls);
    }
}

int Scaled(int value, double ratio)
{
    return static_cast<int>(std::lround(value * ratio));
}

} // namespace

void clsResize::FormInitialize(QWidget* frm)
{
    m_form = frm;
    if (!frm)
        return;
    m_previousHeight = controls::PixelsToTwips(frm->height());
    m_previousWidth = controls::PixelsToTwips(frm->width());
}

void clsResize::FormResize()
{
    if (!m_form)
        return;
    const int height = controls::PixelsToTwips(m_form->height());
    const int width = controls::PixelsToTwips(m_form->width());
    // A previous size of 0 (recorded while the window was collapsed) cannot give a ratio: that
    // direction is left alone rather than collapsing every control. A new size of 0 would
    // collapse them for good, so it is skipped too and the last real size kept.
    const bool scaleVertically = m_previousHeight > 0 && height > 0;
    const bool scaleHorizontally = m_previousWidth > 0 && width > 0;
    const double vertical = scaleVertically ? double(height) / m_previousHeight : 1.0;
    const double horizontal = scaleHorizontally ? double(width) / m_previousWidth : 1.0;

    if (scaleVertically || scaleHorizontally) {
        QList<QWidget*> controls;
        CollectControls(m_form, controls);
        for (QWidget* control : controls) {
            const QRect g = control->geometry();
            control->setGeometry(Scaled(g.left(), horizontal), Scaled(g.top(), vertical),
                                 Scaled(g.width(), horizontal), Scaled(g.height(), vertical));
        }
    }
    if (height > 0 || m_previousHeight == 0)
        m_previousHeight = height;
    if (width > 0 || m_previousWidth == 0)
        m_previousWidth = width;
}

} // namespace controls
