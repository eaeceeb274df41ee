#pragma once
// The whole demo station: makes its media, opens its ports, writes the operator's folder with
// its own addresses, and says where everything is.
#include "Broadcast.h"
#include "ChannelTexts.h"
#include "FileServer.h"

#include <QList>
#include <QObject>
#include <QString>

struct StationOptions
{
    quint16 basePort =
        8600;         // operator files here, channels on the ports after it; 0: any free ports
    QString wwwDir;   // the served operator folder
    QString mediaDir; // generated songs and clip
    QString siteDir;  // the shipped templates
    int songSeconds = 30;
    BroadcastLimits limits;
    std::function<bool()> stopRequested = [] { return false; }; // polled while making media
};

class Station : public QObject
{
    Q_OBJECT
  public:
    explicit Station(StationOptions options, QObject* parent = nullptr);

    // False with a reason when media cannot be made, a port is taken, or the folder cannot be
    // written. progress gets a line for each file made on first start.
    bool Start(QString& error, const std::function<void(const QString&)>& progress);

    // The server address for "Settings.ini" [Server] URL. It ends in "/", as operators' addresses
    // usually do: the start-up fetches then ask for "//Settings/...", which the station serves too.
    QByteArray ServerUrl() const;
    QString Describe() const;

  signals:
    void Note(const QString& line);

  private:
    bool LoadChannel(const ChannelPlan& plan, const class MediaMaker& media, QString& error);
    bool LoadHlsChannel(const ChannelPlan& plan, const class MediaMaker& media, QString& error);
    quint16 PortFor(const ChannelPlan& plan) const;

    StationOptions m_options;
    FileServer* m_files = nullptr;
    QList<ListedChannel> m_channels; // in the table's order, each at its own address
};

// "http://127.0.0.1:PORT/"
QByteArray LoopbackUrl(quint16 port);
// The channel's address as listeners use it: a channel with a mount is reached there.
QByteArray ChannelUrl(quint16 port, const ChannelPlan& plan);
