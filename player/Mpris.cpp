#include "Mpris.h"

#include "MediaPlayer.h"
#include "MprisAdaptors.h"
#include "SessionBus.h"
#include "StreamTitle.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace player {
namespace {

constexpr int VolumeStep = 10;

using State = platform::MediaPlayer::State;

// Bringing a lost stream back is part of playing it: the user has not stopped.
bool StreamRuns(State Now)
{
    return Now == State::Playing || Now == State::Opening || Now == State::Reconnecting;
}

} // namespace

Mpris::Mpris(platform::MediaPlayer* Media, MprisHooks Hooks, QObject* parent)
    : QObject(parent), m_Media(Media), m_Hooks(std::move(Hooks))
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    connect(m_Media, &platform::MediaPlayer::StateChanged, this, [this] {
        // A new stream has not said its title yet: the old one's must not stay on show.
        if (m_Media->state() == State::Opening || m_Media->state() == State::Reconnecting)
            m_sTitle.clear();
        Refresh();
    });
    connect(m_Media, &platform::MediaPlayer::TitleChanged, this, &Mpris::StreamTitle);

    if (!platform::SessionBusExists())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!bus.registerObject(QString::fromLatin1(ObjectPath), this, QDBusConnection::ExportAdaptors))
        return;
    // A second player on the same bus (another program folder) takes a name of its own, as the
    // interface allows, rather than none.
    const QString base = QString::fromLatin1(ServicePrefix);
    for (const QString& name : {base, base + QStringLiteral(".instance") +
                                          QString::number(QCoreApplication::applicationPid())}) {
        if (bus.registerService(name)) {
            m_sService = name;
            break;
        }
    }
    if (m_sService.isEmpty())
        bus.unregisterObject(QString::fromLatin1(ObjectPath));
}

Mpris::~Mpris()
{
    if (m_sService.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(m_sService);
    bus.unregisterObject(QString::fromLatin1(ObjectPath));
}

void Mpris::Play()
{
    if (m_Hooks.PlayStopped()) {
        m_Hooks.TogglePlay();
    } else if (!StreamRuns(m_Media->state())) {
        // Nothing sounds although the button shows "playing" (nothing chosen yet, or the stream
        // ended): a person presses the button twice, stop then play, and so does Play.
        m_Hooks.TogglePlay();
        m_Hooks.TogglePlay();
    }
    Refresh();
}

void Mpris::Pause()
{
    // A live stream cannot wait where it was: pausing stops, as the player's button does.
    Stop();
}

void Mpris::PlayPause()
{
    if (PlaybackStatus() == QLatin1String("Playing"))
        Pause();
    else
        Play();
}

void Mpris::Stop()
{
    if (!m_Hooks.PlayStopped())
        m_Hooks.TogglePlay();
    Refresh();
}

void Mpris::SetVolume(double Value)
{
    if (!std::isfinite(Value))
        return;
    const int target = static_cast<int>(std::lround(std::clamp(Value, 0.0, 1.0) * 100));
    // The buttons' steps, as many as bring the level nearest the request; a step that does not
    // move the level (a bound) ends it.
    for (int steps = 0; steps < 100 / VolumeStep + 2; ++steps) {
        const int level = m_Hooks.VolumeLevel();
        // Strictly nearer only: a request halfway between two steps must not swing back and forth.
        if (target - level > VolumeStep / 2 && level < 100)
            m_Hooks.VolumeUp();
        else if (level - target > VolumeStep / 2 && level > 0)
            m_Hooks.VolumeDown();
        else
            break;
        if (m_Hooks.VolumeLevel() == level)
            break;
    }
    Refresh();
}

void Mpris::Raise()
{
    m_Hooks.Raise();
}

void Mpris::Quit()
{
    // After the reply has gone: Exit destroys this object with the player window.
    QTimer::singleShot(0, this, [this] { m_Hooks.Quit(); });
}

QString Mpris::PlaybackStatus() const
{
    return !m_Hooks.PlayStopped() && StreamRuns(m_Media->state()) ? QStringLiteral("Playing")
                                                                  : QStringLiteral("Stopped");
}

double Mpris::Volume() const
{
    return std::clamp(m_Hooks.VolumeLevel(), 0, 100) / 100.0;
}

QVariantMap Mpris::Metadata() const
{
    const QString station = m_Hooks.Station();
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/corvane/stream"))));
    if (!station.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), station);
    if (!m_Media->URL().isEmpty())
        metadata.insert(QStringLiteral("xesam:url"), m_Media->URL());
    // While a lost stream is brought back nothing is playing that a title could name.
    if (m_Media->state() == State::Reconnecting)
        return metadata;
    // As the recorder tags the song: "Artist - Title" split, anything else all title. Until the
    // stream names its song, the channel's name is the best title there is.
    const core::ArtistTitle song = core::SplitStreamTitle(m_sTitle.toStdString());
    const QString title = QString::fromStdString(song.title);
    metadata.insert(QStringLiteral("xesam:title"), title.isEmpty() ? station : title);
    if (!song.artist.empty())
        metadata.insert(QStringLiteral("xesam:artist"),
                        QStringList{QString::fromStdString(song.artist)});
    return metadata;
}

void Mpris::Refresh()
{
    // Deferred: the directory records the channel's name only after the player has it, and a
    // burst of changes makes one announcement.
    if (m_bRefreshPending)
        return;
    m_bRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_bRefreshPending = false;
        QVariantMap changed;
        const QString status = PlaybackStatus();
        if (status != m_sAnnouncedStatus)
            changed.insert(QStringLiteral("PlaybackStatus"), m_sAnnouncedStatus = status);
        const double volume = Volume();
        if (volume != m_dAnnouncedVolume)
            changed.insert(QStringLiteral("Volume"), m_dAnnouncedVolume = volume);
        const QVariantMap metadata = Metadata();
        if (metadata != m_AnnouncedMetadata)
            changed.insert(QStringLiteral("Metadata"), m_AnnouncedMetadata = metadata);
        if (!changed.isEmpty())
            Announce(changed);
    });
}

void Mpris::StreamTitle(const QString& Title)
{
    m_sTitle = Title;
    Refresh();
}

void Mpris::Announce(const QVariantMap& Changed)
{
    if (m_sService.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << Changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace player
