#include "frmRecord.h"

#include "KeyboardAccess.h"

#include "Address.h"
#include "Artwork.h"
#include "Config.h"
#include "Docking.h"
#include "Questions.h"
#include "SaveSetting.h"
#include "Text.h"
#include "Twips.h"
#include "WindowRegistry.h"
#include "dcButtonLook.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QIcon>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace recorder {

using namespace controls;

namespace {

// The recorder's look on its dark skin: light text, controls in the skin's colours, the record
// toggle red while it records. Every text keeps at least 4.5:1 against what lies behind it.
const char* const kLook = R"(
QLabel, QCheckBox { color: #e8eef5; background: transparent; }
QLabel:disabled { color: #a9bcd0; }
QLabel#lblCaption { font-weight: bold; padding-left: 8px; }
QLabel#lblStatus { color: #ff6b63; font-weight: bold; }
QLineEdit { background: #060c14; color: #e8eef5; border: 1px solid #274666; padding: 0 3px; }
QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid #4a749e; background: #060c14; }
QCheckBox::indicator:checked { background: #f2b134; }
QPushButton#CmdRecord { color: #e8eef5; background: #2b4f75; border: 1px solid #4a749e;
                        border-radius: 4px; font-weight: bold; padding: 3px 10px; }
QPushButton#CmdRecord:hover { background: #35608c; }
QPushButton#CmdRecord:checked { color: #ffffff; background: #a8322c; border-color: #ff6b63; }
QToolButton#ingClose { border: none; background: transparent; }
QToolButton#ingClose:focus { border: 1px solid #f2b134; border-radius: 3px; }
)";
// Where the skin's title strip leaves room for the close picture.
constexpr QPoint kClosePlace{358, 5};

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(const QString& text, const char* name)
{
    // Station names, titles and file names come from the stream's server.
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return Named(label, name);
}

} // namespace

frmRecord::frmRecord(const core::ChannelSelection& selection, QWidget* player, quint16 relayPort)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_Core(relayPort)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromLatin1(core::WindowName::Recorder));
    setWindowTitle(tr("Record"));
    BuildControls();
    Form_Load(selection, player);
}

frmRecord::~frmRecord() = default;

void frmRecord::BuildControls()
{
    QFont arial(QStringLiteral("Arial"));
    setFont(arial);
    // The skin lies under everything; the caption strip lets presses through to it, so the
    // window is dragged by its top as by any other part of the skin.
    Skin = Named(new FormSkin(this), "Skin");
    lblCaption = Label(tr("Record"), "lblCaption");
    lblCaption->setFixedHeight(27); // the skin's title strip
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    ingClose = Named(new QToolButton(this), "ingClose");
    ingClose->setIcon(QIcon(QStringLiteral(":/artwork/buttons/ingClose.png")));
    ingClose->setIconSize(QSize(16, 16));
    ingClose->setToolTip(tr("Exit"));
    ingClose->setAutoRaise(true);
    ingClose->setFixedSize(16, 16);

    lblServer = Label(tr("Server IP:"), "lblServer");
    txtServer = Named(new QLineEdit(QStringLiteral("0.0.0.0")), "txtServer");
    lblPort = Label(tr("Port:"), "lblPort");
    txtPort = Named(new QLineEdit(QStringLiteral("8000")), "txtPort");
    txtServer->setReadOnly(true);
    txtPort->setReadOnly(true);
    Label1 = Label(tr("Output Path:"), "Label1");
    txtOutPath = Named(new QLineEdit(QStringLiteral("c:\\")), "txtOutPath");
    btnBrowse = new dcButton(nullptr, QStringLiteral("btnBrowse"));
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->SetButtonStyle(DialogButtonStyle);
    btnBrowse->SetBackColor(DialogButtonBackColor);
    btnBrowse->SetForeColor(DialogButtonForeColor);
    btnBrowse->SetCaption(tr("Browse"));
    btnBrowse->setToolTip(tr("Edit server URL"));
    btnBrowse->setFixedSize(controls::TwipsToPixels(1215), controls::TwipsToPixels(375));
    chkFilebysong =
        Named(new QCheckBox(tr("Create mp3 file by song (file name = title)")), "chkFilebysong");
    CmdRecord = Named(new QPushButton(tr("RECORD")), "CmdRecord");
    CmdRecord->setCheckable(true);
    Label3 = Label(tr("Recording"), "Label3");
    Label2 = Label(tr("Some radio channel may not be recordable "), "Label2");
    lblRadio = Label(tr("Radio"), "lblRadio");
    lblTitle = Label(tr("Title:"), "lblTitle");
    lblBitrate = Label(tr("Bitrate:"), "lblBitrate");
    lblFile = Label(tr("File:"), "lblFile");
    lblSize = Label(tr("Size:"), "lblSize");
    lblTime = Label(tr("Time:"), "lblTime");
    lblStatus = Label(tr("REC"), "lblStatus");
    lblWinampStatus = Label(tr("Winamp Status"), "lblWinampStatus");
    for (QLabel* wide : {lblRadio, lblTitle, lblFile, lblWinampStatus})
        wide->setMinimumWidth(1); // long titles must not widen the window

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->addWidget(lblCaption);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 4, 8, 8);
    window->addLayout(grid);
    grid->addWidget(lblServer, 1, 0);
    grid->addWidget(txtServer, 1, 1);
    grid->addWidget(lblPort, 1, 2);
    grid->addWidget(txtPort, 1, 3);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(txtOutPath, 2, 1, 1, 2);
    grid->addWidget(btnBrowse, 2, 3);
    grid->addWidget(chkFilebysong, 3, 0, 1, 4);
    grid->addWidget(Label3, 4, 0);
    grid->addWidget(lblStatus, 4, 2);
    grid->addWidget(CmdRecord, 4, 3);
    grid->addWidget(lblRadio, 5, 0, 1, 4);
    grid->addWidget(lblTitle, 6, 0, 1, 4);
    grid->addWidget(lblBitrate, 7, 0, 1, 4);
    grid->addWidget(lblFile, 8, 0, 1, 4);
    grid->addWidget(lblSize, 9, 0, 1, 2);
    grid->addWidget(lblTime, 9, 2, 1, 2);
    grid->addWidget(lblWinampStatus, 10, 0, 1, 4);
    grid->addWidget(Label2, 11, 0, 1, 4);

    connect(ingClose, &QToolButton::clicked, this, &QWidget::close);
    MakeAccessible();
    connect(CmdRecord, &QPushButton::toggled, this, &frmRecord::CmdRecord_Click);
    connect(chkFilebysong, &QCheckBox::clicked, this, &frmRecord::chkFilebysong_Click);
    connect(btnBrowse, &dcButton::Click, this, &frmRecord::btnBrowse_Click);

    connect(&m_Core, &StreamRecorder::StatusText, lblRadio, &QLabel::setText);
    connect(&m_Core, &StreamRecorder::StationName, this, [this](const QString& name) {
        m_StationShown = name;
        lblRadio->setText(name);
    });
    connect(&m_Core, &StreamRecorder::NoticeText, this, &frmRecord::ShowNotice);
    connect(&m_Core, &StreamRecorder::BitrateText, lblBitrate, &QLabel::setText);
    connect(&m_Core, &StreamRecorder::TitleText, lblTitle, &QLabel::setText);
    connect(&m_Core.Relay(), &RelayServer::StatusText, lblWinampStatus, &QLabel::setText);
    connect(&m_Core, &StreamRecorder::FileOpened, this,
            [this](const QString& name) { lblFile->setText(tr("File: ") + name); });
    connect(&m_Core, &StreamRecorder::FileFailed, this, &frmRecord::ShowFileError);
    connect(&m_Core, &StreamRecorder::Progress, this, &frmRecord::ShowSizeAndTime);
}

// A notice (segments missed) is news, not a state: the station's name comes back after a while
// unless something else has been said meanwhile.
void frmRecord::ShowNotice(const QString& text)
{
    lblRadio->setText(text);
    const QString station = m_StationShown;
    QTimer::singleShot(kNoticeMs, lblRadio, [this, text, station] {
        if (lblRadio->text() == text && !station.isEmpty())
            lblRadio->setText(station);
    });
}

void frmRecord::MakeAccessible()
{
    // A screen reader names each box after the label beside it.
    lblServer->setBuddy(txtServer);
    lblPort->setBuddy(txtPort);
    Label1->setBuddy(txtOutPath);
    controls::NameControlsAfterToolTips(*this);
    setTabOrder(CmdRecord, ingClose);
    controls::CloseOnEscape(*this, [this] { ingClose->click(); });
}

void frmRecord::Form_Load(const core::ChannelSelection& selection, QWidget* player)
{
    // Until the user chooses a folder, recordings go to the music folder: show where.
    const QString folder = core::Config::Read(core::Config::RecordFolder);
    txtOutPath->setText(folder.isEmpty() ? DefaultRecordFolder() : folder);
    bool numeric = false;
    const int bySong =
        core::Config::Read(core::Config::RecordFilePerSong).trimmed().toInt(&numeric);
    chkFilebysong->setChecked(numeric && bySong == 1);
    m_Core.SetFileBySong(chkFilebysong->isChecked());
    // Stations drop listeners now and then: the window keeps recording across it. Record by song
    // takes the song playing from its start, tagged.
    m_Core.SetReconnect(true);
    m_Core.SetKeepSong(true);
    m_Core.SetSongTags(true);
    ShowIdle();

    ApplySkin();
    if (player) {
        const QRect at = player->frameGeometry();
        move(core::PlaceDocked({at.left() + width() - controls::TwipsToPixels(310), at.top()},
                               size(), at, core::DockSide::Beside, core::AvailableAreaAt(at)));
    }
    TuneToChannel(selection);
}

void frmRecord::ApplySkin()
{
    // The window is its skin: the picture's size and outline, the caption in the title strip,
    // the face starting two columns in, where the panel starts.
    QImage skin = controls::LoadArtwork(QStringLiteral(":/artwork/skins/frmRecord.png"));
    if (skin.isNull()) {
        skin = QImage(380, 330, QImage::Format_ARGB32);
        skin.fill(QColor(0x17, 0x31, 0x4c));
    }
    setStyleSheet(QString::fromLatin1(kLook));
    layout()->setContentsMargins(2, 0, 0, 0);
    setFixedSize(skin.size());
    Skin->setPicture(skin);
    Skin->MakeSkin(true);
    Skin->lower();
    ingClose->move(kClosePlace);
    ingClose->raise();
}

void frmRecord::TuneToChannel(const core::ChannelSelection& selection)
{
    const QString address = selection.SelectedAddress();
    const QString host = core::GetHost(address);
    const QString portText = core::GetPort(address);
    txtServer->setText(host);
    txtPort->setText(portText);
    // "http://host:port/" as always; a mount path, no port or https as today's stations give.
    const StreamAddress stream = ParseStreamAddress(address);
    if (!stream.Valid())
        return;
    if (stream.host != host || QString::number(stream.port) != portText) {
        txtServer->setText(stream.host);
        txtPort->setText(QString::number(stream.port));
    }
    m_Core.Tune(stream);
}

void frmRecord::CmdRecord_Click(bool pressed)
{
    if (!pressed) {
        m_Core.StopRecording();
        ShowIdle();
        return;
    }
    if (!CreateOutFile()) {
        CmdRecord->setChecked(false); // runs this handler again, released
        return;
    }
    CmdRecord->setText(tr("STOP"));
    lblStatus->show();
    for (QLabel* label : {lblFile, lblSize, lblTime})
        label->setEnabled(true);
}

bool frmRecord::CreateOutFile()
{
    m_Core.SetFileBySong(chkFilebysong->isChecked());
    if (chkFilebysong->isChecked())
        return m_Core.StartSongRecording(txtOutPath->text());
    const auto name = core::Ask().Text(this, tr("New mp3 file"), tr("Enter file name: "),
                                       DefaultFileName(QTime::currentTime()));
    if (!name || name->isEmpty())
        return false;
    return m_Core.StartRecording(txtOutPath->text(), *name);
}

void frmRecord::ShowIdle()
{
    CmdRecord->setText(tr("RECORD"));
    lblStatus->hide();
    for (QLabel* label : {lblFile, lblSize, lblTime})
        label->setEnabled(false);
}

// The recording has stopped on its own (a file that cannot be opened or written): the toggle goes
// back without running its handler again, and the reason stays readable where the file name was.
void frmRecord::ShowFileError(const QString& why)
{
    {
        const QSignalBlocker quiet(CmdRecord);
        CmdRecord->setChecked(false);
    }
    ShowIdle();
    lblFile->setText(tr("File: ") + why);
    lblFile->setEnabled(true);
}

void frmRecord::ShowSizeAndTime()
{
    const auto& file = m_Core.File();
    lblSize->setText(SizeText(file.BytesWritten()));
    lblTime->setText(TimeText(file.ElapsedSeconds(QDateTime::currentDateTime())));
}

void frmRecord::chkFilebysong_Click()
{
    (void)core::SaveSetting(this, core::Config::RecordFilePerSong,
                            chkFilebysong->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    m_Core.SetFileBySong(chkFilebysong->isChecked());
}

void frmRecord::btnBrowse_Click()
{
    QString start = core::Config::Read(core::Config::RecordFolder);
    if (start.isEmpty())
        start = txtOutPath->text();
    // The desktop's folder chooser starts at the nearest folder that still exists.
    const auto chosen = core::Ask().Folder(this, tr("Select a folder to save"), start);
    if (!chosen || chosen->isEmpty())
        return;
    txtOutPath->setText(*chosen);
    (void)core::SaveSetting(this, core::Config::RecordFolder, *chosen);
}

void frmRecord::closeEvent(QCloseEvent* event)
{
    // Nothing may stay open behind a closed window.
    m_Core.StopRecording();
    m_Core.Relay().DownServer();
    QWidget::closeEvent(event);
}

} // namespace recorder
