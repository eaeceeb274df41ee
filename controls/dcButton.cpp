#include "dcButton.h"

#include "PropertyBag.h"
#include "Twips.h"
#include "dcButtonLayout.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>
#include <cmath>

namespace controls {

using namespace dcbutton;

dcButton::dcButton(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    // Tab reaches the button; of the mouse buttons only the left one gives it the focus.
    setFocusPolicy(Qt::TabFocus);
    InstallAccessibility();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Smaller buttons cannot show their frame: 15 pixels a side, kept in the designer's units.
    constexpr int Smallest = controls::TwipsToPixels(controls::PixelsToTwips(15));
    setMinimumSize(Smallest, Smallest);
    // A newly placed button: the classic style in the desktop's colours.
    m_caption = name;
    m_buttonStyle = 6;
    ColorScheme(m_buttonStyle, true);
    ApplyAccessKey();
    m_formActive = isActiveWindow();
    m_initialised = true;
}

dcButton::~dcButton() = default;

QSize dcButton::sizeHint() const
{
    return QSize(75, 25);
}

// --- colours and appearance ----------------------------------------------------------------------

void dcButton::SetupColors()
{
    m_colors =
        dcbutton::SetupColors(m_buttonStyle, TranslateColor(m_backColor),
                              TranslateColor(m_foreColor), TranslateColor(m_maskColor), m_colors);
}

void dcButton::ColorScheme(int style, bool noRedraw)
{
    if (style == -1)
        style = m_buttonStyle;
    SchemeBackColor(style, m_backColor); // a style that does not exist keeps the colour
    SetupColors();
    if (!noRedraw)
        RedrawButton(-1, true);
}

bool dcButton::OverrideColor(int property, OleColor color, bool noRedraw)
{
    static constexpr ColorRole targets[6] = {DarkShade, Accent, AltFace,
                                             GrayText,  Light,  Highlight};
    if (property < 0 || property > 5)
        return false;
    m_colors[targets[property]] = TranslateColor(color);
    if (!noRedraw)
        RedrawButton(-1, true);
    return true;
}

void dcButton::Refresh()
{
    m_reshapeNeeded = true;
    RedrawButton(-1, true);
}

void dcButton::SetBackColor(OleColor color)
{
    m_backColor = color;
    SetupColors();
    RedrawButton(-1, true);
}

void dcButton::SetButtonShape(int shape)
{
    m_buttonShape = shape;
    Refresh();
}

void dcButton::SetButtonStyle(int style)
{
    m_buttonStyle = style;
    if (m_designMode)
        ColorScheme(style, true);
    else
        SetupColors();
    Refresh();
}

void dcButton::SetCaption(const QString& caption)
{
    m_caption = caption;
    ApplyAccessKey();
    Refresh();
}

void dcButton::SetCheckBoxMode(bool on)
{
    m_checkBoxMode = on;
    if (!on)
        m_value = false;
    RedrawButton(-1, true);
}

void dcButton::SetForeColor(OleColor color)
{
    m_foreColor = color;
    if (isEnabled()) {
        SetupColors();
        RedrawButton(-1, true);
    }
}

void dcButton::SetMaskColor(OleColor color)
{
    m_maskColor = color;
    m_colors[Mask] = TranslateColor(color);
    RedrawButton(-1, true);
}

void dcButton::SetSpecialEffect(int effect)
{
    m_specialEffect = effect;
    RedrawButton(-1, true);
}

void dcButton::SetUseMaskColor(bool on)
{
    m_useMaskColor = on;
    RedrawButton(-1, true);
}

void dcButton::SetPictureAlignment(int alignment)
{
    m_pictureAlignment = alignment;
    Refresh();
}

// --- font ----------------------------------------------------------------------------------------

void dcButton::SetFontBold(bool on)
{
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void dcButton::SetFontItalic(bool on)
{
    QFont f = font();
    f.setItalic(on);
    setFont(f);
}

void dcButton::SetFontStrikethru(bool on)
{
    QFont f = font();
    f.setStrikeOut(on);
    setFont(f);
}

void dcButton::SetFontUnderline(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void dcButton::SetFontName(const QString& name)
{
    QFont f = font();
    f.setFamily(name);
    setFont(f);
}

void dcButton::SetFontSize(float points)
{
    if (points <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

// --- cursor --------------------------------------------------------------------------------------

void dcButton::SetHandPointer(bool on)
{
    m_handPointer = on;
    ApplyMousePointer();
}

void dcButton::SetMouseIcon(const QImage& icon)
{
    m_mouseIcon = icon;
    m_mousePointer = icon.isNull() ? 0 : 99;
    ApplyMousePointer();
}

void dcButton::SetMousePointer(int pointer)
{
    if (pointer != 99)
        m_handPointer = false;
    m_mousePointer = pointer;
    ApplyMousePointer();
}

void dcButton::ApplyMousePointer()
{
    static constexpr Qt::CursorShape shapes[16] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (m_handPointer)
        setCursor(Qt::PointingHandCursor);
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(QPixmap::fromImage(m_mouseIcon)));
    else if (m_mousePointer > 0 && m_mousePointer < 16)
        setCursor(shapes[m_mousePointer]);
    else
        unsetCursor();
}

// --- pictures ------------------------------------------------------------------------------------

int dcButton::PictureOpacity() const
{
    return RoundHalfEven(m_pictureOpacity * 100.0);
}

void dcButton::SetPictureOpacity(int percent)
{
    m_pictureOpacity = std::clamp(percent, 10, 100) / 100.0;
    RedrawButton(-1, true);
}

void dcButton::SetPictureNormal(const QImage& picture)
{
    if (picture.isNull()) {
        m_pictureHot = QImage();
        m_pictureDown = QImage();
        m_pictureOpacity = 0;
    } else if (m_pictureOpacity == 0) {
        m_pictureOpacity = 1.0;
    }
    m_pictureNormal = picture;
    ApplyPictureSize();
    Refresh();
}

void dcButton::SetPictureHot(const QImage& picture)
{
    if (!picture.isNull() && m_pictureNormal.isNull()) {
        SetPictureNormal(picture);
        return;
    }
    if (!picture.isNull() && m_pictureSize == 0 && picture.size() != m_pictureNormal.size())
        m_pictureSize = 5;
    m_pictureHot = picture;
    if (m_hot)
        RedrawButton(-1, true);
}

void dcButton::SetPictureDown(const QImage& picture)
{
    if (!picture.isNull() && m_pictureNormal.isNull()) {
        SetPictureNormal(picture);
        return;
    }
    if (!picture.isNull() && m_pictureSize == 0 && picture.size() != m_pictureNormal.size())
        m_pictureSize = 5;
    m_pictureDown = picture;
    if (m_drawnDown)
        RedrawButton(-1, true);
}

void dcButton::ApplyPictureSize()
{
    static constexpr int squares[5] = {0, 16, 24, 32, 48};
    if (m_pictureNormal.isNull()) {
        m_pictureSize = m_pictureSizeW = m_pictureSizeH = 0;
        return;
    }
    if (m_pictureSize == 0) {
        m_pictureSizeW = m_pictureNormal.width();
        m_pictureSizeH = m_pictureNormal.height();
    } else if (m_pictureSize >= 1 && m_pictureSize <= 4) {
        m_pictureSizeW = m_pictureSizeH = squares[m_pictureSize];
    }
}

void dcButton::SetPictureSize(int size)
{
    m_pictureSize = size;
    ApplyPictureSize();
    Refresh();
}

void dcButton::SetPictureSizeH(int pixels)
{
    m_pictureSize = 5;
    m_pictureSizeH = std::max(pixels, 0);
    Refresh();
}

void dcButton::SetPictureSizeW(int pixels)
{
    m_pictureSize = 5;
    m_pictureSizeW = std::max(pixels, 0);
    Refresh();
}

// --- value, default, cancel ----------------------------------------------------------------------

void dcButton::SetValue(bool on)
{
    m_value = on;
    if (!on || m_checkBoxMode) {
        RedrawButton(-1, true);
        return;
    }
    if (m_designMode) {
        m_value = false;
        return;
    }
    m_lastButton = 1;
    ClickHandling();
    m_value = false; // an ordinary button never stays set, even when the click could not run
}

void dcButton::SetDefault(bool on)
{
    m_default = on;
    ApplyAccessKey();
    DefaultLookChanged();
}

void dcButton::SetCancel(bool on)
{
    m_cancel = on;
    ApplyAccessKey();
}

void dcButton::ApplyAccessKey()
{
    for (int id : std::as_const(m_shortcutIds))
        releaseShortcut(id);
    m_shortcutIds.clear();
    m_accessKey = AccessKeyFromCaption(m_caption);
    if (!m_accessKey.isNull()) {
        // Alt + key from anywhere in the window. The key alone works only while one of our
        // buttons has the focus (see keyPressEvent): lists and text boxes keep their letters.
        m_shortcutIds << grabShortcut(QKeySequence(QStringLiteral("Alt+") + QString(m_accessKey)));
    }
    if (m_default) {
        m_shortcutIds << grabShortcut(QKeySequence(Qt::Key_Return))
                      << grabShortcut(QKeySequence(Qt::Key_Enter));
    }
    if (m_cancel)
        m_shortcutIds << grabShortcut(QKeySequence(Qt::Key_Escape));
}

// --- persistence ---------------------------------------------------------------------------------

namespace {

// What a hosting window offers unless it says otherwise: the desktop's button colours.
constexpr OleColor AmbientBackColor = SysButtonFace;
constexpr OleColor AmbientForeColor = SysButtonText;

QVariant PictureValue(const QImage& picture)
{
    return QVariant::fromValue(picture);
}

QImage ReadPicture(const PropertyBag& bag, const QString& key)
{
    return bag.ReadProperty(key, PictureValue(QImage())).value<QImage>();
}

} // namespace

void dcButton::ReadProperties(const PropertyBag& bag)
{
    const QFont ambientFont = parentWidget() ? parentWidget()->font() : QApplication::font();
    m_backColor = bag.ReadProperty("BackColor", AmbientBackColor).toUInt();
    m_buttonShape = bag.ReadProperty("ButtonShape", 0).toInt();
    m_buttonStyle = bag.ReadProperty("ButtonStyle", 0).toInt();
    m_caption = bag.ReadProperty("Caption", objectName()).toString();
    m_checkBoxMode = bag.ReadProperty("CheckBox", false).toBool();
    const bool enabled = bag.ReadProperty("Enabled", true).toBool();
    QFont f;
    if (!f.fromString(bag.ReadProperty("Font", ambientFont.toString()).toString()))
        f = ambientFont;
    m_foreColor = bag.ReadProperty("ForeColor", AmbientForeColor).toUInt();
    m_handPointer = bag.ReadProperty("HandPointer", false).toBool();
    m_maskColor = bag.ReadProperty("MaskColor", 0xC0C0C0u).toUInt();
    m_mouseIcon = ReadPicture(bag, "MouseIcon");
    m_mousePointer = bag.ReadProperty("MousePointer", 0).toInt();
    m_pictureAlignment = bag.ReadProperty("PicAlign", 4).toInt();
    m_pictureDown = ReadPicture(bag, "PicDown");
    m_pictureHot = ReadPicture(bag, "PicHot");
    m_pictureNormal = ReadPicture(bag, "PicNormal");
    m_pictureOpacity = std::clamp(bag.ReadProperty("PicOpacity", 1.0).toDouble(), 0.0, 1.0);
    m_pictureSize = bag.ReadProperty("PicSize", 0).toInt();
    m_pictureSizeH = std::max(bag.ReadProperty("PicSizeH", 0).toInt(), 0);
    m_pictureSizeW = std::max(bag.ReadProperty("PicSizeW", 0).toInt(), 0);
    m_specialEffect = bag.ReadProperty("Effects", 0).toInt();
    m_useMaskColor = bag.ReadProperty("UseMask", true).toBool();
    m_value = bag.ReadProperty("Value", false).toBool() && m_checkBoxMode;
    m_currentState = std::clamp(bag.ReadProperty("State", 0).toInt(), 0, 3);

    m_initialised = false; // the changes below must not paint half-read properties
    setFont(f);
    ApplyMousePointer();
    ApplyAccessKey();
    setEnabled(enabled);
    SetupColors();
    m_reshapeNeeded = true;
    m_initialised = true;
    RedrawButton(-1, true);
}

void dcButton::WriteProperties(PropertyBag& bag) const
{
    const QFont ambientFont = parentWidget() ? parentWidget()->font() : QApplication::font();
    bag.WriteProperty("BackColor", m_backColor, AmbientBackColor);
    bag.WriteProperty("ButtonShape", m_buttonShape, 0);
    bag.WriteProperty("ButtonStyle", m_buttonStyle, 0);
    bag.WriteProperty("Caption", m_caption, objectName());
    bag.WriteProperty("CheckBox", m_checkBoxMode, false);
    bag.WriteProperty("Enabled", Enabled(), true);
    bag.WriteProperty("Font", font().toString(), ambientFont.toString());
    bag.WriteProperty("ForeColor", m_foreColor, AmbientForeColor);
    bag.WriteProperty("HandPointer", m_handPointer, false);
    bag.WriteProperty("MaskColor", m_maskColor, 0xC0C0C0u);
    bag.WriteProperty("MouseIcon", PictureValue(m_mouseIcon), PictureValue(QImage()));
    bag.WriteProperty("MousePointer", m_mousePointer, 0);
    bag.WriteProperty("PicAlign", m_pictureAlignment, 4);
    bag.WriteProperty("PicDown", PictureValue(m_pictureDown), PictureValue(QImage()));
    bag.WriteProperty("PicHot", PictureValue(m_pictureHot), PictureValue(QImage()));
    bag.WriteProperty("PicNormal", PictureValue(m_pictureNormal), PictureValue(QImage()));
    bag.WriteProperty("PicOpacity", m_pictureOpacity, 1.0);
    bag.WriteProperty("PicSize", m_pictureSize, 0);
    bag.WriteProperty("PicSizeH", m_pictureSizeH, 0);
    bag.WriteProperty("PicSizeW", m_pictureSizeW, 0);
    bag.WriteProperty("Effects", m_specialEffect, 0);
    bag.WriteProperty("UseMask", m_useMaskColor, true);
    bag.WriteProperty("Value", m_value, false);
    bag.WriteProperty("State", m_currentState, 0);
}

} // namespace controls
