// The splash: fades in, downloads the channel list and the operator's settings, fades out and
// hands over to the player window.
//
// The downloads run one after the other, driven by their transfers' notifications: the
// remote settings are asked for once the channel list's body has arrived, and the channel list
// is stored, and its status line emptied, only once the remote settings are over, so that the
// user sees the steps, and the files land, in the order the program always had. A transfer error
// hands over without the fade-out, after what arrived has been stored.
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
    void iNetChannel_Finished(const QByteArray& Body);
    void InetRSettings_Finished(const QByteArray& Body);
    void CompleteChannel();

    // The channel list's body, kept while the remote settings are fetched.
    QByteArray sChannelBody;

    // The splash's opacity (0 transparent .. 255 opaque) and where the running fade stops; both
    // fades share them.
    int16_t FadeAlpha = 0;
    int16_t FadeTarget = 0;
};

} // namespace app
