#include "MprisAdaptors.h"

#include "Mpris.h"

namespace player {

MprisRootAdaptor::MprisRootAdaptor(Mpris* Service)
    : QDBusAbstractAdaptor(Service), m_Service(Service)
{
}

QString MprisRootAdaptor::Identity() const
{
    return QStringLiteral("Corvane net player");
}

QString MprisRootAdaptor::DesktopEntry() const
{
    // The installed desktop entry's name, without ".desktop": the sound menu takes the icon there.
    return QStringLiteral("org.corvane.NetPlayer");
}

void MprisRootAdaptor::Raise()
{
    m_Service->Raise();
}

void MprisRootAdaptor::Quit()
{
    m_Service->Quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(Mpris* Service)
    : QDBusAbstractAdaptor(Service), m_Service(Service)
{
}

QString MprisPlayerAdaptor::PlaybackStatus() const
{
    return m_Service->PlaybackStatus();
}

QVariantMap MprisPlayerAdaptor::Metadata() const
{
    return m_Service->Metadata();
}

double MprisPlayerAdaptor::Volume() const
{
    return m_Service->Volume();
}

void MprisPlayerAdaptor::setVolume(double Value)
{
    m_Service->SetVolume(Value);
}

void MprisPlayerAdaptor::Play()
{
    m_Service->Play();
}

void MprisPlayerAdaptor::Pause()
{
    m_Service->Pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_Service->PlayPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_Service->Stop();
}

} // namespace player
