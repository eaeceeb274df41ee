// The administrator message popup: slides in at the bottom right of the screen with a sound and
// the operator's text. Closing it with the "Exit" image records the text as seen, so later runs
// do not show it again; its button only closes it.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPlainTextEdit;

namespace controls {
class FormSkin;
class dcButton;
} // namespace controls

namespace platform {
class MediaPlayer;
}

namespace player {

class MessagePoll;

class frmMessage : public QWidget
{
    Q_OBJECT

  public:
    // The text's colour and size when the operator's settings name none usable.
    static inline const QColor DesignTextColor{0x1f, 0x3a, 0x5f};
    static constexpr double DesignFontSize = 9.0;
    static constexpr int SlideIntervalMs = 39;

    explicit frmMessage(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    QLabel* Picture1;
    QPlainTextEdit* txtMsg;
    // The chime's player: made for the chime and gone when it ends (null before and after).
    platform::MediaPlayer* mediaMsg = nullptr;
    // The chime played to its end.
    bool ChimePlayed() const { return bChimePlayed; }
    QTimer TimerShow;
    controls::dcButton* dcButton1;
    QLabel* ingClose;

    // The message exactly as it came (the box shows it; it is read-only).
    void SetText(const QString& Text);
    QString Text() const;

    // Where the slide-in stops, in pixels of the screen the popup is on.
    int SlideEndX() const;

  signals:
    // The popup is closing, whichever way: the poll may run again.
    void Unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void LoadLook();
    void PlayChime(const QString& Sound);
    void TimerShow_Timer();
    void ingClose_Click();
    void dcButton1_Click();
    void PlaceAt(int LeftTwips);

    QString sText;
    int16_t iSlideStep = 0;
    int lLeftTwips = 0;
    int lTopTwips = 0;
    bool bUnloaded = false;
    bool bChimePlayed = false;
};

// Shows Text in the message popup: loads it (sound and slide-in) when it is not open, else puts
// Text into the open one without either. When the popup closes, Poll (if any) runs again.
frmMessage* ShowMessage(const QString& Text, MessagePoll* Poll);

// Lets every new text Poll announces pop up in the message popup.
void ConnectMessagePopup(MessagePoll& Poll);

} // namespace player
