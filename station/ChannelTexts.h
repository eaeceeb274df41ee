#pragma once
// The station's own texts that name its channels (the directory file, the information page, the
// advert), made from the channel table so that they cannot drift from what the station serves.
#include "ChannelTable.h"

#include <QByteArray>
#include <QList>
#include <QMap>

struct ListedChannel
{
    const ChannelPlan* plan;
    QByteArray url; // where listeners reach it
};

// Template values, in the channels' order:
//   CHANNEL_INI      the sections and keys of Channel.ini ("[Radio]\nName=url\n...[TV]\n...")
//   CHANNEL_ROWS     the information page's table rows, one per channel
//   CHANNEL_SUMMARY  "Four radio channels and a TV channel"
QMap<QByteArray, QByteArray> ChannelTexts(const QList<ListedChannel>& channels);

// How a channel is sent: "MP3, 128 kbps", "HLS: AAC 64 kbps in 2 s MPEG-TS segments", "MPEG-TS".
QByteArray FormatOf(const ChannelPlan& plan);
