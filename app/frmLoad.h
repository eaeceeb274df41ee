// The splash: fades in, downloads the channel list and the operator's settings, fades out and
// hands over to the player window.
#pragma once

#include "InetTransfer.h"

#include <QTimer>
#include <QWidget>

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
    void UnloadIfIdle();

    // A fetch runs a nested event loop, and a handler inside it may close the splash; the
    // window (and with it the transfer that is still on the stack) is only destroyed once every
    // fetch has returned.
    int iFetchDepth = 0;
    bool bUnloadWhenIdle = false;
};

} // namespace app
