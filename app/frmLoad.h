// The splash: fades in, downloads the channel list and the operator's settings, fades out and
// hands over to the player window.
#pragma once

#include "InetTransfer.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QLabel;

namespace controls {
class FormSkin;
} // namespace controls

namespace app {

class frmLoad : public QWidget
{
    Q_OBJECT

  public:
    explicit frmLoad(QWidget* parent = nullptr);

    controls::FormSkin* Skin;
    QLabel* pic;
    QLabel* lblStatus;
    QTimer Timer3;       // fade-in step
    QTimer TimerGetSett; // one-shot start of the downloads
    QTimer Trans;        // fade-out step
    platform::InetTransfer iNetChannel;
    platform::InetTransfer InetRSettings;

  signals:
    // Every change of the status line, in order.
    void StatusChanged(const QString& Text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void Timer3_Timer();
    void TimerGetSett_Timer();
    void Trans_Timer();
    void iNetChannel_StateChanged(int State);
    void InetRSettings_StateChanged(int State);
    void pic_DblClick();

    void SetStatus(const QString& Text);
    void StartFadeOut();
    void HandOver();
    void Download(platform::InetTransfer& Inet, const QString& FileName);
    void HandOverIfIdle();

    // The splash's opacity (0 transparent .. 255 opaque) and where the running fade stops; both
    // fades share them.
    int16_t FadeAlpha = 0;
    int16_t FadeTarget = 0;

    // A fetch runs a nested event loop, and a handler inside it (an error of the remote
    // settings) may ask for the hand-over while the channel list's fetch is still on the stack
    // with its body not yet stored. The player opens, and the splash goes, only once every fetch
    // has returned: the player then reads the fresh files, and no transfer is destroyed while
    // its fetch is running.
    int iFetchDepth = 0;
    bool bHandOverWhenIdle = false;
};

} // namespace app
