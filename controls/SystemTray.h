// One icon in the desktop's notification area, with a tool tip, whose mouse actions reach the
// hosting window as events. The host adds and removes the icon itself; Tip and Icon may be set
// before the icon is added and take effect when it is.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QWidget;

namespace controls {

class PropertyBag;

class SystemTray : public QObject
{
    Q_OBJECT
  public:
    // The notification numbers the icon reports (those of the mouse messages they stand for).
    enum Notification : int {
        PointerMoved = 0x200,
        LeftDown = 0x201,
        LeftUp = 0x202,
        LeftDoubleClick = 0x203,
        RightDown = 0x204,
        RightUp = 0x205,
        RightDoubleClick = 0x206,
        MiddleDown = 0x207,
        MiddleUp = 0x208,
        MiddleDoubleClick = 0x209,
    };
    // The longest tip the notification area shows; longer tips are cut.
    static constexpr int MaxTipLength = 63;

    explicit SystemTray(QObject* parent = nullptr);
    ~SystemTray() override;

    QString Tip() const { return m_tip; }
    void setTip(const QString& tip);
    QIcon Icon() const { return m_iconImage; }
    void setIcon(const QIcon& icon);

    void add();
    void Remove();

    // Raises the events for one notification, unless a handler of an earlier one still runs.
    void Dispatch(int message, int Shift);
    bool InEvent() const { return bInEvent; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

  signals:
    void LeftClick();
    void RightClick();
    void MiddleClick();
    void LeftDblClick();
    void RightDblClick();
    void MiddleDblClick();
    void Other();
    // Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt.
    void MouseClick(int Button, int Shift);
    void MouseDblClick(int Button, int Shift);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PushToDesktop();
    void Activated(QSystemTrayIcon::ActivationReason reason);
    void FindRawSource(const QList<QWidget*>& before);

    QSystemTrayIcon m_icon;
    QString m_tip = QStringLiteral("0");
    QIcon m_iconImage;
    bool m_present = false;
    bool bInEvent = false;
    // The widget that stands for the icon inside an XEmbed tray; its mouse events give every
    // notification, where the activation signal gives only some.
    QPointer<QWidget> m_rawSource;
};

} // namespace controls
