// The channel directory, docked under the player: the channel types and the channels of the
// selected type from "Channel.ini". Selecting a channel hands its address to the player and
// remembers it; opening the window selects the remembered channel again, so it starts playing.
#pragma once

#include "Channels.h"

#include <QImage>
#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

namespace controls {
class FormSkin;
class WebAd;
} // namespace controls

namespace directory {

class frmTray : public QWidget, public core::ChannelSelection
{
    Q_OBJECT
  public:
    explicit frmTray(QWidget* parent = nullptr);

    // The texts of the selected type and channel (the recorder tunes to them).
    QString SelectedType() const override;
    QString SelectedChannel() const override;
    QString SelectedAddress() const override;

    // Selects the first entry of lst whose whole text is strText, letter case ignored, as a
    // user's click would, and gives lst the focus; changes nothing when no entry matches.
    void FindItem(QListWidget* lst, const QString& strText);

    controls::FormSkin* Skin;
    QLabel* Label3;
    QListWidget* ListType;
    QLabel* Label2;
    QListWidget* ListChannel;
    controls::WebAd* WebAd;
    QTimer* Timer1;
    // Over the advert when the list shown is not fresh from the operator: why, and the way to the
    // server dialog.
    QFrame* fraNotice;
    QLabel* lblNotice;
    QPushButton* btnServer;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildNotice();
    void Form_Load();
    void DockUnderPlayer();
    void RestoreLastPlay();
    void ListType_Click();
    void ListChannel_Click();
    void ListChannel_ItemClicked(QListWidgetItem* item);
    void WebAd_Click();
    void Timer1_Timer();
    void ShowListNotice();
    void btnServer_Click();

    static QImage SkinPicture();

    // The channel that was selected when the mouse went down on the channel list.
    const QListWidgetItem* m_ChannelAtPress = nullptr;
};

} // namespace directory
