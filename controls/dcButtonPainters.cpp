// The painters of the twelve button styles. Each one shapes and lays out the button when that is
// due, then paints the face, the picture and caption, and the border for one drawing state.
#include "dcButton.h"

#include "dcButtonCanvas.h"

#include <algorithm>

namespace controls {

using namespace dcbutton;

// --- painter D: style 5 --------------------------------------------------------------------------

void dcButton::PaintStyleD(int state)
{
    BeginPainter(0, 0);
    if (Checked() && state != 3)
        state = 1;
    Canvas c(m_surface);
    const ColorTable& s = m_colors;
    OleColor background;
    if (state == 0) {
        c.Gradient(s[Highlight], s[Face], 70);
        background = BlendColors(s[Highlight], s[Face], 0.5);
    } else if (state == 3) {
        c.Gradient(s[Highlight], s[AltFace], 70);
        background = s[AltFace];
    } else {
        c.Fill(s[Light]);
        background = s[Light];
    }
    if (state == 3) {
        DrawDisabledContent(m_value ? 1 : 0);
        PlainFrame(background);
        return;
    }
    const int offset = (state == 2 ? 1 : 0) + (Checked() ? 1 : 0);
    DrawContent(state, s[Text], background, offset);
    if (ShowsFocus())
        FocusFrame(background);
    else
        PlainFrame(background);
}

// --- painter A: styles 0, 1, 2 -------------------------------------------------------------------

void dcButton::PaintStyleA(int state)
{
    const bool capsule = m_buttonStyle != 1;
    BeginPainter(capsule ? height() : 13, capsule ? width() : 13);
    if (Checked() && state != 3)
        state = 2;
    else if (state == 0 && m_mousePressed)
        state = 1;
    const ColorTable& s = m_colors;
    static constexpr ColorRole stateColors[4] = {Face, Light, DarkShade, AltFace};
    const OleColor face = s[stateColors[std::clamp(state, 0, 3)]];
    const OleColor highlight =
        s[Highlight] == NoColor ? BlendColors(face, White, 0.8) : s[Highlight];
    Canvas c(m_surface);
    c.Gradient(face, highlight, capsule ? 60 : 30);
    // A gloss band over the upper part of the face, kept inside the shape.
    const double gloss = m_buttonStyle == 0 ? 0.6 : m_buttonStyle == 1 ? 0.2 : 0.5;
    const int inset = std::max(2, std::min(height(), 13) / 4);
    const QRect band(inset, 1, width() - 2 * inset, std::max(1, height() * 2 / 5));
    c.FillClipped(band, mask().isEmpty() ? QRegion(rect()) : mask(),
                  BlendColors(face, highlight, gloss));
    if (state == 3)
        DrawDisabledContent(0);
    else
        DrawContent(state, s[Text], BlendColors(face, highlight, 0.5), state == 2 ? 1 : 0);
    c.Polyline(m_outline, BlendColors(0x000000, face, 0.8));
    if (state != 3 && ShowsFocus() && m_hasFocus)
        c.FocusRect(m_innerRect);
}

// --- painter B: style 3 --------------------------------------------------------------------------

void dcButton::PaintStyleB(int state)
{
    BeginPainter(0, 0);
    bool checkedLook = false;
    if (Checked() && state != 3) {
        if (m_hot || m_drawnDown)
            state = 2;
        else
            checkedLook = true;
    } else if (state == 0 && m_mousePressed) {
        state = 1;
    }
    const ColorTable& s = m_colors;
    OleColor top = s[Highlight], bottom = s[Face];
    if (checkedLook) {
        top = s[Light];
        bottom = s[DarkShade];
    } else if (state == 1) {
        top = s[Accent];
        bottom = s[Light];
    } else if (state == 2) {
        top = s[DarkShade];
        bottom = s[Light];
    }
    Canvas c(m_surface);
    c.Gradient(top, bottom, 50);
    if (state == 3) {
        DrawDisabledContent(0);
        return;
    }
    DrawContent(state, s[Text], BlendColors(top, bottom, 0.5), state == 2 ? 1 : 0);
    if (state != 0 || Checked() || m_drawnDown)
        c.Rect(rect(), s[Text]);
    if (ShowsFocus() && m_hasFocus)
        c.FocusRect(rect().adjusted(2, 2, -2, -2));
}

// --- painter C: style 4 --------------------------------------------------------------------------

void dcButton::PaintStyleC(int state)
{
    BeginPainter(0, 0);
    if (Checked() && state != 3 && (m_hot || m_drawnDown))
        state = 2;
    else if (state == 0 && m_mousePressed && !Checked())
        state = 1;
    const ColorTable& s = m_colors;
    static constexpr ColorRole stateColors[4] = {Face, Light, DarkShade, AltFace};
    const OleColor face = s[stateColors[std::clamp(state, 0, 3)]];
    Canvas c(m_surface);
    c.Fill(face);
    if (state == 3) {
        DrawDisabledContent(0);
        return;
    }
    if (state == 1 && m_pictureHot.isNull() && !Checked() && !m_mousePressed &&
        !m_pictureNormal.isNull()) {
        // Without a hot picture the picture lifts off the face over its own shadow.
        DrawPic(m_pictureNormal, 1, 1, 0xC0C0C0, state);
        DrawPic(m_pictureNormal, -1, -1, NoColor, state);
        DrawCaption(s[Text], face, 0, 0);
    } else {
        DrawContent(state, s[Text], face, state == 2 && Checked() ? 1 : 0);
    }
    if (state != 0 || Checked() || m_drawnDown)
        c.Rect(rect(), s[Accent]);
    if (ShowsFocus() && m_hasFocus)
        c.FocusRect(rect().adjusted(2, 2, -2, -2));
}

// --- painter E: style 6, the classic button ------------------------------------------------------

void dcButton::PaintStyleE(int state)
{
    BeginPainter(0, 0);
    const ColorTable& s = m_colors;
    Canvas c(m_surface);
    if (Checked())
        c.Checker(rect(), s[DarkShade], White);
    else
        c.Fill(s[Face]);
    const bool pressed = state == 2 || (Checked() && state != 3);
    if (state == 3) {
        DrawPic(m_pictureNormal, 0, 0, NoColor, 3);
        DrawCaptionText(BlendColors(s[GrayText], White, 0.9), 1, 1);
        DrawCaptionText(s[GrayText], 0, 0);
    } else {
        DrawContent(state, s[Text], s[Face], pressed ? 1 : 0);
    }
    QRect edge = rect();
    if (state != 3 && ShowsFocus()) {
        c.Rect(rect(), s[Text]);
        edge.adjust(1, 1, -1, -1);
    }
    c.Edge(edge, !pressed);
    if (state != 3 && ShowsFocus() && m_hasFocus)
        c.FocusRect(edge.adjusted(3, 3, -3, -3));
}

// --- painter F: styles 7, 8, 9 -------------------------------------------------------------------

void dcButton::PaintStyleF(int state)
{
    BeginPainter(5, 5);
    bool checkedLook = false;
    if (Checked() && state != 3) {
        if (m_hot || m_drawnDown)
            state = 2;
        else
            checkedLook = true;
    }
    const ColorTable& s = m_colors;
    Canvas c(m_surface);
    const int r = width() - 1, b = height() - 1;
    OleColor face = s[Face];
    if (state == 2) {
        face = s[DarkShade];
        if (m_buttonStyle == 9) {
            c.Gradient(s[Highlight], s[DarkShade], 80);
        } else {
            c.Fill(face);
            c.Line(1, 1, r - 1, 1, ShiftColor(face, -0.05));
            c.Line(1, 1, 1, b - 1, ShiftColor(face, -0.05));
            c.Line(2, 2, r - 1, 2, ShiftColor(face, -0.03));
            c.Line(2, 2, 2, b - 1, ShiftColor(face, -0.03));
        }
    } else if (state == 3) {
        face = s[AltFace];
        c.Fill(face);
    } else {
        if (checkedLook)
            face = ShiftColor(s[Face], -0.1);
        c.Gradient(s[Highlight], face, 50);
        // Soft shading towards the lower and right edges.
        for (int i = 1; i <= 4; ++i)
            c.Line(1, b - i, r - 1, b - i, ShiftColor(face, -0.01 - 0.01 * (5 - i)));
        c.Line(r - 1, 1, r - 1, b - 1, ShiftColor(face, -0.05));
        c.Line(r - 2, 2, r - 2, b - 2, ShiftColor(face, -0.02));
    }
    if (state == 1) {
        const OleColor hot = BlendColors(s[Light], face, 0.5);
        c.Rect(rect().adjusted(1, 1, -1, -1), hot);
        c.Line(2, 2, r - 2, 2, s[Light]);
        c.Line(2, b - 2, r - 2, b - 2, s[Light]);
    } else if (state == 0 && ShowsFocus()) {
        c.Rect(rect().adjusted(1, 1, -1, -1), BlendColors(s[Accent], face, 0.4));
        c.Rect(rect().adjusted(2, 2, -2, -2), BlendColors(s[Accent], face, 0.5));
    }
    if (state == 3)
        DrawDisabledContent(0);
    else
        DrawContent(state, s[Text], face, state == 2 ? 1 : 0);
    const OleColor border =
        state == 3 ? BlendColors(s[AltFace], s[GrayText], 0.5) : BlendColors(s[DarkShade], 0, 0.45);
    c.SoftFrame(rect(), border, face);
}

// --- painter G: style 10 -------------------------------------------------------------------------

void dcButton::PaintStyleG(int state)
{
    BeginPainter(5, 5);
    if (Checked() && state != 3)
        state = 2;
    const ColorTable& s = m_colors;
    OleColor face;
    switch (state) {
    case 1:
        face = BlendColors(s[Light], White, 0.5);
        break;
    case 2:
        face = BlendColors(s[Face], s[DarkShade], 0.8);
        break;
    case 3:
        face = s[AltFace];
        break;
    default:
        face = BlendColors(s[Face], s[Light], 0.8);
        break;
    }
    Canvas c(m_surface);
    c.Fill(face);
    const int r = width() - 1, b = height() - 1;
    const bool pressed = state == 2;
    // Soft lines deepening towards the dark shade: the lower right for a raised face, the upper
    // left for a pressed one.
    static constexpr double depth[3] = {0.5, 0.3, 0.1};
    for (int i = 0; i < 3; ++i) {
        const OleColor shade = BlendColors(face, s[DarkShade], depth[i]);
        const OleColor lit = BlendColors(face, White, depth[i]);
        const int k = i + 1;
        c.Line(k, b - k, r - k, b - k, pressed ? lit : shade);
        c.Line(r - k, k, r - k, b - k,
               pressed ? lit : BlendColors(face, s[DarkShade], depth[i] * 0.8));
        c.Line(k, k, r - k, k, pressed ? shade : lit);
        c.Line(k, k, k, b - k, pressed ? shade : lit);
    }
    if (state == 3)
        DrawDisabledContent(0);
    else
        DrawContent(state, s[Text], face, pressed ? 1 : 0);
    const OleColor border =
        state == 3 ? BlendColors(face, s[GrayText], 0.5) : ShiftColor(s[DarkShade], -0.35);
    c.SoftFrame(rect(), border, face);
    if (state != 3 && ShowsFocus() && m_hasFocus)
        c.FocusRect(rect().adjusted(4, 4, -4, -4));
}

// --- painter H: style 11 -------------------------------------------------------------------------

void dcButton::PaintStyleH(int state)
{
    BeginPainter(5, 5);
    if (Checked() && state != 3)
        state = 2;
    const ColorTable& s = m_colors;
    static constexpr ColorRole stateColors[4] = {Face, Light, DarkShade, AltFace};
    const OleColor face = s[stateColors[std::clamp(state, 0, 3)]];
    Canvas c(m_surface);
    const int r = width() - 1, b = height() - 1;
    c.Fill(face);
    c.Gradient(BlendColors(face, White, 0.6), face, 30, 1, 1, r - 1, height() / 2);
    if (state == 3)
        DrawDisabledContent(0);
    else
        DrawContent(state, s[Text], face, state == 2 ? 1 : 0);
    const OleColor border =
        state == 3 ? ShiftColor(s[AltFace], -0.2) : ShiftColor(s[DarkShade], -0.2);
    c.Line(1, 1, r - 1, 1, BlendColors(face, White, 0.5));
    c.Line(1, b - 1, r - 1, b - 1, ShiftColor(s[Accent], -0.05));
    c.SoftFrame(rect(), border, face);
    if (state != 3 && ShowsFocus() && m_hasFocus)
        c.FocusRect(rect().adjusted(3, 3, -3, -3));
}

} // namespace controls
