// dcButton, the program's own owner-drawn push button: twelve painting styles, five shapes, a
// picture per state, check-box and drop-down menu modes, access keys and hover tracking.
//
// The face is painted into an image of the client size whenever the drawing state changes
// (RedrawButton); paint events only copy that image. Pictures blend with what is already on the
// face, which is why the face is kept rather than redrawn from scratch on every paint event.
#pragma once

#include "dcButtonColors.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QPolygon>
#include <QRect>
#include <QWidget>

class QAction;
class QMenu;

namespace controls {

class PropertyBag;

class dcButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int ButtonShape READ ButtonShape WRITE SetButtonShape)
    Q_PROPERTY(int ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool CheckBoxMode READ CheckBoxMode WRITE SetCheckBoxMode)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE SetHandPointer)
    Q_PROPERTY(quintptr hwnd READ hwnd)
    Q_PROPERTY(uint MaskColor READ MaskColor WRITE SetMaskColor)
    Q_PROPERTY(QImage MouseIcon READ MouseIcon WRITE SetMouseIcon)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE SetMousePointer)
    Q_PROPERTY(int PictureAlignment READ PictureAlignment WRITE SetPictureAlignment)
    Q_PROPERTY(QImage PictureDown READ PictureDown WRITE SetPictureDown)
    Q_PROPERTY(QImage PictureHot READ PictureHot WRITE SetPictureHot)
    Q_PROPERTY(QImage PictureNormal READ PictureNormal WRITE SetPictureNormal)
    Q_PROPERTY(int PictureOpacity READ PictureOpacity WRITE SetPictureOpacity)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE SetPictureSize)
    Q_PROPERTY(int PictureSizeH READ PictureSizeH WRITE SetPictureSizeH)
    Q_PROPERTY(int PictureSizeW READ PictureSizeW WRITE SetPictureSizeW)
    Q_PROPERTY(int SpecialEffect READ SpecialEffect WRITE SetSpecialEffect)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE SetUseMaskColor)
    Q_PROPERTY(bool Value READ Value WRITE SetValue)

  public:
    using OleColor = dcbutton::OleColor;

    // A newly placed button: style 6 in the desktop's button colours, captioned with its name.
    explicit dcButton(QWidget* parent = nullptr, const QString& name = QString());
    ~dcButton() override;

    // --- properties ---------------------------------------------------------------------------
    OleColor BackColor() const { return m_backColor; }
    void SetBackColor(OleColor color);
    int ButtonShape() const { return m_buttonShape; }
    void SetButtonShape(int shape);
    int ButtonStyle() const { return m_buttonStyle; }
    void SetButtonStyle(int style);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    bool CheckBoxMode() const { return m_checkBoxMode; }
    void SetCheckBoxMode(bool on);
    // The button's own setting; a disabled window disables it without changing this.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool on) { setEnabled(on); }
    QFont Font() const { return font(); }
    void SetFont(const QFont& f) { setFont(f); }
    bool FontBold() const { return font().bold(); }
    void SetFontBold(bool on);
    bool FontItalic() const { return font().italic(); }
    void SetFontItalic(bool on);
    bool FontStrikethru() const { return font().strikeOut(); }
    void SetFontStrikethru(bool on);
    bool FontUnderline() const { return font().underline(); }
    void SetFontUnderline(bool on);
    QString FontName() const { return font().family(); }
    void SetFontName(const QString& name);
    float FontSize() const { return float(font().pointSizeF()); }
    void SetFontSize(float points);
    OleColor ForeColor() const { return m_foreColor; }
    void SetForeColor(OleColor color);
    bool HandPointer() const { return m_handPointer; }
    void SetHandPointer(bool on);
    // Identifies this control uniquely for the lifetime of the process.
    quintptr hwnd() const { return reinterpret_cast<quintptr>(this); }
    OleColor MaskColor() const { return m_maskColor; }
    void SetMaskColor(OleColor color);
    QImage MouseIcon() const { return m_mouseIcon; }
    void SetMouseIcon(const QImage& icon);
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);
    int PictureAlignment() const { return m_pictureAlignment; }
    void SetPictureAlignment(int alignment);
    QImage PictureDown() const { return m_pictureDown; }
    void SetPictureDown(const QImage& picture);
    QImage PictureHot() const { return m_pictureHot; }
    void SetPictureHot(const QImage& picture);
    QImage PictureNormal() const { return m_pictureNormal; }
    void SetPictureNormal(const QImage& picture);
    int PictureOpacity() const;
    void SetPictureOpacity(int percent);
    int PictureSize() const { return m_pictureSize; }
    void SetPictureSize(int size);
    int PictureSizeH() const { return m_pictureSizeH; }
    void SetPictureSizeH(int pixels);
    int PictureSizeW() const { return m_pictureSizeW; }
    void SetPictureSizeW(int pixels);
    int SpecialEffect() const { return m_specialEffect; }
    void SetSpecialEffect(int effect);
    bool UseMaskColor() const { return m_useMaskColor; }
    void SetUseMaskColor(bool on);
    bool Value() const { return m_value; }
    void SetValue(bool on);

    // What the hosting window says about the button: the default button (drawn as default and
    // pressed by Enter) and the cancel button (pressed by Esc).
    bool Default() const { return m_default; }
    void SetDefault(bool on);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool on);
    // Design mode: ButtonStyle brings its own back colour along and Value never clicks.
    bool DesignMode() const { return m_designMode; }
    void SetDesignMode(bool on) { m_designMode = on; }

    // --- methods ------------------------------------------------------------------------------
    void ColorScheme(int style = -1, bool noRedraw = false);
    // False (and nothing changed) for a property number outside 0-5: an invalid procedure call.
    bool OverrideColor(int property, OleColor color, bool noRedraw = false);
    void SetPopupMenu(QMenu* menu, int align = 0, int flags = 0, QAction* defaultMenu = nullptr);
    void UnsetPopupMenu();
    void Refresh();
    // Paints State (−1: the current one); without Force only when state or focus look changed.
    void RedrawButton(int state, bool force = false);
    // Activation by access key, or by Enter (13) / Esc (27) routed from the window.
    void AccessKeyPress(int keyAscii);
    // Screen readers see each button as a push button named by its caption.
    static void InstallAccessibility();

    // --- persistence --------------------------------------------------------------------------
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Help text of a property, method or event, and a property's designer category
    // (";Appearance", ";Behavior", ";Font" or ";Misc"); empty for an unknown name.
    static QString HelpText(const QString& member);
    static QString PropertyCategory(const QString& property);

    // --- observation --------------------------------------------------------------------------
    int CurrentState() const { return m_currentState; }
    QChar AccessKey() const { return m_accessKey; }
    const dcbutton::ColorTable& DerivedColors() const { return m_colors; }
    const QRect& CaptionRect() const { return m_captionRect; }
    const QRect& PictureRect() const { return m_pictureRect; }
    // How often the window shape was rebuilt: state changes must leave it alone.
    int ShapeBuildCount() const { return m_shapeBuilds; }
    QSize sizeHint() const override;

  signals:
    void Click();
    void DblClick();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseEnter();
    void MouseLeave();
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // properties
    void SetupColors();
    void ApplyAccessKey();
    void ApplyMousePointer();
    void ApplyFontChange();
    void ApplyPictureSize();

    // input
    void ClickHandling();
    void ActivateByAccessKey();
    dcButton* ButtonForAccessKey(const QString& typed) const;
    void ShowPopupMenu();
    void FormActivation(bool active);
    void DefaultLookChanged();
    bool IsOverButton(const QPoint& pos) const;
    void Capture();
    void ReleaseCapture();

    // painting
    void SetShape(int cornerW, int cornerH);
    void LayoutContent();
    void BeginPainter(int cornerW, int cornerH);
    void PaintStyleA(int state);
    void PaintStyleB(int state);
    void PaintStyleC(int state);
    void PaintStyleD(int state);
    void PaintStyleE(int state);
    void PaintStyleF(int state);
    void PaintStyleG(int state);
    void PaintStyleH(int state);
    void DrawContent(int state, OleColor textColor, OleColor background, int offset);
    void DrawDisabledContent(int offset);
    void DrawCaptionText(OleColor color, int dx, int dy);
    void DrawCaption(OleColor textColor, OleColor background, int dx, int dy);
    void DrawPicture(OleColor background, int dx, int dy, int state);
    void DrawPic(const QImage& picture, int dx, int dy, OleColor flat, int state);
    void PlainFrame(OleColor background);
    void FocusFrame(OleColor background);
    bool Checked() const { return m_checkBoxMode && m_value; }
    bool ShowsFocus() const { return m_formActive && (m_hasFocus || m_defaultLook); }

    // properties
    OleColor m_backColor = dcbutton::SysButtonFace;
    OleColor m_foreColor = dcbutton::SysButtonText;
    OleColor m_maskColor = 0xC0C0C0;
    int m_buttonShape = 0;
    int m_buttonStyle = 6;
    QString m_caption;
    bool m_checkBoxMode = false;
    bool m_handPointer = false;
    QImage m_mouseIcon;
    int m_mousePointer = 0;
    int m_pictureAlignment = 4;
    QImage m_pictureNormal, m_pictureHot, m_pictureDown;
    double m_pictureOpacity = 1.0; // a fraction of 1, as it is saved
    int m_pictureSize = 0;
    int m_pictureSizeW = 0, m_pictureSizeH = 0;
    int m_specialEffect = 0;
    bool m_useMaskColor = true;
    bool m_value = false;
    bool m_default = false;
    bool m_cancel = false;
    bool m_designMode = false;

    // run-time state
    bool m_hasFocus = false;
    bool m_drawnDown = false;
    bool m_mousePressed = false;
    bool m_spaceHeld = false;
    bool m_hot = false;
    bool m_tracking = false;
    bool m_formActive = false;
    bool m_hidden = false;
    bool m_reshapeNeeded = true;
    bool m_initialised = false;
    bool m_captured = false;
    int m_lastButton = 0;
    bool m_menuShown = false;
    bool m_closedOnButton = false;
    QPointer<QMenu> m_menu;
    int m_menuAlign = 0;
    int m_menuFlags = 0;
    QPointer<QAction> m_defaultMenu;
    QPoint m_menuLastPress; // where the press that closed the menu happened, global
    bool m_menuPressSeen = false;
    int m_currentState = 0;
    QSize m_clientSize;
    bool m_paintedFocus = false;
    bool m_defaultLook = false;
    QChar m_accessKey;
    QList<int> m_shortcutIds;
    dcbutton::ColorTable m_colors{};

    // painting
    QImage m_surface;
    QRect m_captionRect, m_pictureRect, m_innerRect;
    QPolygon m_outline;
    int m_shapeBuilds = 0;
};

} // namespace controls
