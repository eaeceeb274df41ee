// A web page shown as a borderless, scroll-free advert panel. The browser sits larger than the
// panel so that the page's left and top margins are cut off; the page's own dialogs are
// swallowed, and a click anywhere on the advert is the control's Click, not the page's. Until a
// page has loaded (no address, an operator that cannot be reached, no web module) the panel shows
// its BackColor, never the engine's white. The browser itself is made by the first Navigate to an
// address, once the advert is on screen: an advert with none costs no web engine, and a hidden
// one gives its browser up until it is shown again.
#pragma once

#include "WebPageView.h"

#include <QVariant>
#include <QWidget>
#include <optional>

class QFrame;

namespace controls {

class PropertyBag;

class WebAd : public QWidget
{
    Q_OBJECT
  public:
    // The browser reaches this far past the panel's left and top edges, in twips.
    static constexpr int LeftCutTwips = 200;
    static constexpr int TopCutTwips = 250;

    explicit WebAd(QWidget* parent = nullptr);

    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 colour);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 colour);
    // Enabled is the widget's own: set it with setEnabled().
    bool Enabled() const { return isEnabled(); }
    // 0 none, 1 fixed single.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);

    void Refresh();
    // Loads `URL`. PostData (bytes or text) makes the request a POST with that body; Headers
    // ("Name: value" lines separated by CR LF) go with the request. Flags and TargetFrameName
    // have no counterpart in the engine and are accepted without effect.
    void Navigate(const QString& URL, const QVariant& Flags = {},
                  const QVariant& TargetFrameName = {}, const QVariant& PostData = {},
                  const QVariant& Headers = {});

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QFrame* picWeb() const { return m_picWeb; }
    // The browser; null until a page was asked for with the advert on screen, while the advert is
    // hidden, and when the web module is missing.
    WebPageView* web() const { return m_web; }
    // Whether a page is on show; false while the panel shows its BackColor instead.
    bool ShowsPage() const { return m_cover->isHidden(); }

  signals:
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // A page finished loading and its scroll bars are gone.
    void DocumentComplete(bool ok);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LayOut();
    void ApplyLook();
    void PageLoaded(bool ok);
    bool MakeBrowser();
    void MakeBrowserLater();
    bool OverlayMouse(QEvent* event);
    bool OverlayKey(QEvent* event);

    QFrame* m_picWeb = nullptr;
    QWidget* m_viewport = nullptr; // clips the browser to inside the border
    WebPageView* m_web = nullptr;
    QWidget* m_cover = nullptr;   // the BackColor over the browser while it has no page
    QWidget* m_overlay = nullptr; // takes the mouse and keys before the page does
    quint32 m_backColor;
    quint32 m_foreColor;
    int m_borderStyle = 1;
    bool m_sunken = false;
    bool m_pressedInside = false;
    std::optional<WebRequest> m_pending; // until the browser is made
    std::optional<WebRequest> m_last;    // asked for again when the advert is shown again
    bool m_browserDue = false;
};

} // namespace controls
