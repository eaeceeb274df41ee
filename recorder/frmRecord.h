// The recorder window: a thin front end over StreamRecorder. It shows what the core reports and
// turns the user's clicks into the core's record toggle; the stream work happens in the core.
#pragma once

#include "Channels.h"
#include "FormSkin.h"
#include "StreamRecorder.h"
#include "dcButton.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

namespace recorder {

class frmRecord : public QWidget
{
    Q_OBJECT
  public:
    // The selection is read once, at load: choosing another channel later does not retune.
    // Settings come from the program's own "Settings.ini" and "Channel.ini" (core::Config).
    explicit frmRecord(const core::ChannelSelection& selection, QWidget* player = nullptr,
                       quint16 relayPort = kRelayPort);
    ~frmRecord() override;

    StreamRecorder& Core() { return m_Core; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void MakeAccessible();
    void Form_Load(const core::ChannelSelection& selection, QWidget* player);
    void TuneToChannel(const core::ChannelSelection& selection);
    void CmdRecord_Click(bool pressed);
    void chkFilebysong_Click();
    void btnBrowse_Click();
    bool CreateOutFile();
    void ShowIdle();
    void ShowFileError(const QString& why);
    void ShowSizeAndTime();
    void ShowNotice(const QString& text);
    void ApplySkin();

    // How long a notice stands where the station's name is shown.
    static constexpr int kNoticeMs = 8000;

    StreamRecorder m_Core;

    controls::FormSkin* Skin;
    QLabel* lblCaption;
    QToolButton* ingClose;
    QLabel *lblServer, *lblPort, *Label1, *Label2, *Label3;
    QLineEdit *txtServer, *txtPort, *txtOutPath;
    controls::dcButton* btnBrowse;
    QCheckBox* chkFilebysong;
    QPushButton* CmdRecord;
    QLabel *lblRadio, *lblTitle, *lblBitrate, *lblFile, *lblSize, *lblTime, *lblStatus;
    QLabel* lblWinampStatus;
    QString m_StationShown; // what lblRadio goes back to after a notice
};

} // namespace recorder
