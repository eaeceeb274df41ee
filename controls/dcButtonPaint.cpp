// RedrawButton and what every painter shares: shape, layout, caption, picture choice and frames.
#include "dcButton.h"

#include "Twips.h"
#include "dcButtonCanvas.h"
#include "dcButtonLayout.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace controls {

using namespace dcbutton;

namespace {

constexpr int Margin = 4;
constexpr int TextFlags = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

void dcButton::RedrawButton(int state, bool force)
{
    if (m_hidden)
        return;
    if (state == -1)
        state = m_currentState;
    if (!force && state == m_currentState && m_hasFocus == m_paintedFocus)
        return;
    m_paintedFocus = m_hasFocus;
    m_currentState = state;
    if (width() <= 0 || height() <= 0)
        return;
    // A hidden widget learns of its new size only when shown; painting must not wait for that.
    if (size() != m_clientSize) {
        m_clientSize = size();
        m_reshapeNeeded = true;
    }
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    m_surface.fill(ToQColor(TranslateColor(m_backColor)));
    switch (m_buttonStyle) {
    case 0:
    case 1:
    case 2:
        PaintStyleA(state);
        break;
    case 3:
        PaintStyleB(state);
        break;
    case 4:
        PaintStyleC(state);
        break;
    case 5:
        PaintStyleD(state);
        break;
    case 6:
        PaintStyleE(state);
        break;
    case 7:
    case 8:
    case 9:
        PaintStyleF(state);
        break;
    case 10:
        PaintStyleG(state);
        break;
    case 11:
        PaintStyleH(state);
        break;
    default:
        break; // a style that does not exist shows a plain face
    }
    update();
}

void dcButton::paintEvent(QPaintEvent*)
{
    if (m_surface.size() != size())
        RedrawButton(-1, true);
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void dcButton::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // The platform's smallest sensible button: 15 pixels a side, kept in the designer's units.
    constexpr int Smallest = controls::TwipsToPixels(controls::PixelsToTwips(15));
    if (width() < Smallest || height() < Smallest) {
        resize(std::max(width(), Smallest), std::max(height(), Smallest));
        return;
    }
    // Rendering a hidden widget repeats its resize notification: only a new size reshapes.
    if (size() == m_clientSize)
        return;
    m_clientSize = size();
    m_reshapeNeeded = true;
    if (m_initialised)
        RedrawButton(-1, true);
}

void dcButton::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    m_hidden = false;
    m_formActive = isActiveWindow();
    RedrawButton(-1, true);
}

void dcButton::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous())
        m_hidden = true;
}

// --- shape and layout ----------------------------------------------------------------------------

void dcButton::SetShape(int cornerW, int cornerH)
{
    const int w = width(), h = height();
    const QRegion region = ShapeRegion(w, h, cornerW, cornerH, m_buttonShape);
    if (m_buttonStyle >= 0 && m_buttonStyle <= 2)
        m_outline = TraceOutline(region, w, h, cornerW, cornerH, m_buttonShape);
    setMask(region & rect());
    ++m_shapeBuilds;
}

void dcButton::LayoutContent()
{
    LayoutInput in;
    in.client = size();
    if (!m_caption.isEmpty()) {
        const QFontMetrics fm(font());
        in.captionBox = fm.boundingRect(rect(), TextFlags, m_caption).size();
    }
    in.hasPicture = !m_pictureNormal.isNull();
    in.picture = QSize(m_pictureSizeW, m_pictureSizeH);
    in.alignment = m_pictureAlignment;
    in.margin = Margin;
    const LayoutResult out = LayoutButton(in);
    m_captionRect = out.caption;
    m_pictureRect = out.picture;
    m_innerRect = out.inner;
}

void dcButton::BeginPainter(int cornerW, int cornerH)
{
    if (!m_reshapeNeeded)
        return;
    SetShape(cornerW, cornerH);
    LayoutContent();
    m_reshapeNeeded = false;
}

// --- caption and picture -------------------------------------------------------------------------

void dcButton::DrawCaptionText(OleColor color, int dx, int dy)
{
    if (m_caption.isEmpty())
        return;
    QPainter p(&m_surface);
    p.setFont(font());
    p.setPen(ToQColor(color));
    p.drawText(m_captionRect.translated(dx, dy), TextFlags | Qt::TextDontClip, m_caption);
}

void dcButton::DrawCaption(OleColor textColor, OleColor background, int dx, int dy)
{
    if (m_specialEffect >= 1 && m_specialEffect <= 3) {
        const OleColor light = ShiftColor(background, 0.1);
        const OleColor dark = ShiftColor(background, -0.1);
        if (m_specialEffect == 1) {
            DrawCaptionText(dark, dx + 1, dy + 1);
            DrawCaptionText(light, dx - 1, dy - 1);
        } else if (m_specialEffect == 2) {
            DrawCaptionText(dark, dx - 1, dy - 1);
            DrawCaptionText(light, dx + 1, dy + 1);
        } else {
            DrawCaptionText(dark, dx + 1, dy + 1);
        }
    }
    DrawCaptionText(textColor, dx, dy);
}

void dcButton::DrawPicture(OleColor background, int dx, int dy, int state)
{
    if (m_pictureNormal.isNull())
        return;
    QImage picture;
    if (state == 1)
        picture = m_pictureHot;
    else if (state == 2 || m_value)
        picture = m_pictureDown.isNull() ? m_pictureHot : m_pictureDown;
    if (picture.isNull())
        picture = m_pictureNormal;
    if (m_specialEffect >= 1 && m_specialEffect <= 3) {
        const OleColor light = ShiftColor(background, 0.1);
        const OleColor dark = ShiftColor(background, -0.1);
        if (m_specialEffect == 1) {
            DrawPic(picture, dx + 1, dy + 1, dark, state);
            DrawPic(picture, dx - 1, dy - 1, light, state);
        } else if (m_specialEffect == 2) {
            DrawPic(picture, dx - 1, dy - 1, dark, state);
            DrawPic(picture, dx + 1, dy + 1, light, state);
        } else {
            DrawPic(picture, dx + 1, dy + 1, dark, state);
        }
    }
    DrawPic(picture, dx, dy, NoColor, state);
}

void dcButton::DrawContent(int state, OleColor textColor, OleColor background, int offset)
{
    DrawPicture(background, offset, offset, state);
    DrawCaption(textColor, background, offset, offset);
}

void dcButton::DrawDisabledContent(int offset)
{
    DrawPic(m_pictureNormal, offset, offset, NoColor, 3);
    DrawCaptionText(m_colors[GrayText], offset, offset);
}

// --- frames shared by the flat styles ------------------------------------------------------------

void dcButton::PlainFrame(OleColor background)
{
    Canvas c(m_surface);
    const int r = width() - 1, b = height() - 1;
    c.Line(0, 0, r, 0, ShiftColor(background, 0.1));
    c.Line(0, b, r, b, ShiftColor(background, -0.1));
    c.Line(0, 0, 0, b, ShiftColor(background, -0.05));
    c.Line(r, 0, r, b, ShiftColor(background, -0.05));
}

void dcButton::FocusFrame(OleColor background)
{
    Canvas c(m_surface);
    const int r = width() - 1, b = height() - 1;
    for (int i = 0; i <= 3; ++i) {
        c.Line(i, i, r - i, i, ShiftColor(background, 0.1));
        c.Line(i, i, i, b - i, ShiftColor(background, 0.1));
        c.Line(i, b - i, r - i, b - i, ShiftColor(background, -0.1));
        c.Line(r - i, i, r - i, b - i, ShiftColor(background, -0.05));
    }
    c.Rect(rect(), m_colors[Text]);
}

} // namespace controls
