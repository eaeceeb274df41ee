#include "WebAd.h"

#include "InputCodes.h"
#include "OleColor.h"
#include "PropertyBag.h"
#include "Twips.h"
#include "WebPageView.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace controls {

namespace {

const QString BackColorKey = QStringLiteral("BackColor");
const QString ForeColorKey = QStringLiteral("ForeColor");
const QString EnabledKey = QStringLiteral("Enabled");
const QString BorderStyleKey = QStringLiteral("BorderStyle");
constexpr int DefaultBorderStyle = 1;

// Runs once the page has loaded. Older engines obeyed the body's "scroll" attribute; current
// ones need the overflow hidden on both the body and the root element.
const QString HideScrollBarsScript =
    QStringLiteral("(function(){var b=document.body;"
                   "if(b){b.setAttribute('scroll','no');b.style.overflow='hidden';}"
                   "document.documentElement.style.overflow='hidden';})();");

QByteArray Bytes(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

} // namespace

WebAd::WebAd(QWidget* parent)
    : QWidget(parent), m_picWeb(new QFrame(this)), m_viewport(new QWidget(m_picWeb)),
      m_cover(new QWidget(m_viewport)), m_overlay(new QWidget(m_picWeb)),
      m_backColor(controls::vbWindowBackground), m_foreColor(controls::vbWindowText)
{
    m_picWeb->setAutoFillBackground(true);
    m_cover->setAutoFillBackground(true);
    m_cover->raise();
    // The overlay is see-through: it paints nothing and only takes input.
    m_overlay->setAttribute(Qt::WA_NoSystemBackground);
    m_overlay->setFocusPolicy(Qt::StrongFocus);
    m_overlay->setMouseTracking(true);
    m_overlay->installEventFilter(this);
    m_overlay->raise();
    setFocusProxy(m_overlay);
    ApplyLook();
}

void WebAd::setBackColor(quint32 colour)
{
    m_backColor = colour;
    ApplyLook();
}

void WebAd::setForeColor(quint32 colour)
{
    m_foreColor = colour;
    ApplyLook();
}

void WebAd::setBorderStyle(int style)
{
    m_borderStyle = style;
    ApplyLook();
}

void WebAd::Refresh()
{
    update();
    m_picWeb->update();
    if (m_web)
        m_web->update();
}

void WebAd::ApplyLook()
{
    QPalette palette = m_picWeb->palette();
    palette.setColor(QPalette::Window, controls::TranslateColor(m_backColor));
    palette.setColor(QPalette::WindowText, controls::TranslateColor(m_foreColor));
    m_picWeb->setPalette(palette);
    m_cover->setPalette(palette);
    if (m_borderStyle == 0) {
        m_picWeb->setFrameStyle(QFrame::NoFrame);
    } else if (m_sunken) {
        m_picWeb->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_picWeb->setLineWidth(2);
    } else {
        m_picWeb->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_picWeb->setLineWidth(1);
    }
    LayOut();
}

void WebAd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void WebAd::LayOut()
{
    m_picWeb->setGeometry(0, 0, width(), height());
    const QRect inside = m_picWeb->contentsRect();
    m_viewport->setGeometry(inside);
    m_cover->setGeometry(0, 0, inside.width(), inside.height());
    m_overlay->setGeometry(inside);
    // Larger than the panel by the cut at the left and the top, so the page's margins and the
    // browser's own border fall outside.
    const int left = controls::TwipsToPixels(LeftCutTwips);
    const int top = controls::TwipsToPixels(TopCutTwips);
    if (m_web)
        m_web->setGeometry(-left, -top, m_picWeb->width() + left, m_picWeb->height() + top);
}

void WebAd::Navigate(const QString& URL, const QVariant& Flags, const QVariant& TargetFrameName,
                     const QVariant& PostData, const QVariant& Headers)
{
    Q_UNUSED(Flags);
    Q_UNUSED(TargetFrameName);
    const QUrl address = QUrl::fromUserInput(URL);
    if (address.isEmpty()) {
        // Nothing to show: the panel stays in its colours rather than a blank white page.
        m_pending.reset();
        m_last.reset();
        m_cover->show();
        return;
    }
    WebRequest request{address, PostData.isValid() ? Bytes(PostData) : QByteArray(), {}};
    if (Headers.isValid()) {
        for (const QByteArray& line : Bytes(Headers).split('\n')) {
            const int colon = line.indexOf(':');
            if (colon > 0)
                request.Headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
    }
    m_last = request;
    if (m_web) {
        m_web->Load(request);
        return;
    }
    m_pending = request;
    MakeBrowserLater();
}

void WebAd::MakeBrowserLater()
{
    // The engine takes a while to start: the window holding the advert comes on screen first,
    // and the latest request wins.
    if (std::exchange(m_browserDue, true))
        return;
    WhenWindowsAreUp(this, [this] {
        m_browserDue = false;
        // A hidden advert gets its browser when it is shown.
        if (!m_pending || !isVisible())
            return;
        // Without the web module the panel keeps its colours.
        if (MakeBrowser())
            m_web->Load(*m_pending);
        m_pending.reset();
    });
}

void WebAd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_pending)
        MakeBrowserLater();
}

void WebAd::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Put away (the directory sent to the notification area), the advert keeps no browser, and
    // its page is asked for again when it is back. A minimised window (the window system's own
    // hide) keeps its page.
    if (event->spontaneous() || !m_web)
        return;
    m_pending = m_last;
    m_web->onLoadFinished = nullptr;
    m_web->hide();
    m_web->deleteLater();
    m_web = nullptr;
    m_cover->show();
}

bool WebAd::MakeBrowser()
{
    if (m_web)
        return true;
    m_web = CreateWebPageView(m_viewport);
    if (!m_web)
        return false;
    m_web->onLoadFinished = [this](bool ok) { PageLoaded(ok); };
    m_web->show();
    m_cover->raise();
    LayOut();
    return true;
}

void WebAd::PageLoaded(bool ok)
{
    // A page that failed (the operator cannot be reached) shows the panel's colours, not the
    // engine's error page or white.
    m_cover->setVisible(!ok);
    // A page without a body simply keeps what it has.
    m_web->RunScript(HideScrollBarsScript,
                     [this, ok](const QVariant&) { emit DocumentComplete(ok); });
}

bool WebAd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_overlay) {
        // Filters see events even of disabled widgets; a disabled advert raises nothing.
        const bool input = event->type() == QEvent::MouseButtonPress ||
                           event->type() == QEvent::MouseButtonDblClick ||
                           event->type() == QEvent::MouseButtonRelease ||
                           event->type() == QEvent::MouseMove ||
                           event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
        if (input && !isEnabled())
            return true;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return OverlayMouse(event);
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return OverlayKey(event);
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool WebAd::OverlayMouse(QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    // Coordinates on the control's own surface.
    const QPointF at = m_overlay->mapTo(this, mouse->position().toPoint());
    const int shift = controls::ShiftCode(mouse->modifiers());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressedInside = true;
        emit MouseDown(controls::ButtonCode(mouse->button()), shift, at.x(), at.y());
        break;
    case QEvent::MouseButtonDblClick:
        m_pressedInside = false; // the second press of a double click is not a click
        emit DblClick();
        break;
    case QEvent::MouseButtonRelease: {
        emit MouseUp(controls::ButtonCode(mouse->button()), shift, at.x(), at.y());
        const bool click = m_pressedInside && rect().contains(at.toPoint());
        m_pressedInside = false;
        if (mouse->buttons() == Qt::NoButton) {
            m_sunken = false;
            ApplyLook();
        }
        if (click)
            emit Click();
        return true;
    }
    default:
        emit MouseMove(controls::ButtonCode(mouse->buttons()), shift, at.x(), at.y());
        return true;
    }
    if (!m_sunken) {
        m_sunken = true;
        ApplyLook();
    }
    return true;
}

bool WebAd::OverlayKey(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    const int shift = controls::ShiftCode(key->modifiers());
    if (event->type() == QEvent::KeyRelease) {
        emit KeyUp(controls::KeyCode(key->key()), shift);
        return true;
    }
    emit KeyDown(controls::KeyCode(key->key()), shift);
    const QString text = key->text();
    if (text.size() == 1 && text.at(0).unicode() < 256)
        emit KeyPress(text.at(0).unicode());
    return true;
}

void WebAd::ReadProperties(const PropertyBag& bag)
{
    m_backColor = bag.ReadProperty(BackColorKey, controls::vbWindowBackground).toUInt();
    m_foreColor = bag.ReadProperty(ForeColorKey, controls::vbWindowText).toUInt();
    setEnabled(bag.ReadProperty(EnabledKey, true).toBool());
    m_borderStyle = bag.ReadProperty(BorderStyleKey, DefaultBorderStyle).toInt();
    ApplyLook();
}

void WebAd::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(BackColorKey, m_backColor, controls::vbWindowBackground);
    bag.WriteProperty(ForeColorKey, m_foreColor, controls::vbWindowText);
    bag.WriteProperty(EnabledKey, isEnabled(), true);
    bag.WriteProperty(BorderStyleKey, m_borderStyle, DefaultBorderStyle);
}

} // namespace controls
