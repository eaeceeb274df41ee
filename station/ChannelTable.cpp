#include "ChannelTable.h"

const QList<ChannelPlan>& DemoChannels()
{
    static const QList<ChannelPlan> channels = {
        {"LOUNGE",
         QStringLiteral("Corvane Lounge"),
         ChannelKind::Radio,
         1,
         128,
         {
             {"The Sine Waves - Four Forty", 220.0, 4.0, 7, 24, false},
             {"Mira Okafor - Slow Harbour", 196.0, 2.5, 5, 19, false},
             {"Tessellate - Paper Lanterns", 261.6, 5.0, 3, 12, true},
             {"The Sine Waves - Low Tide", 174.6, 3.0, 2, 10, false},
         }},
        {"NIGHT",
         QStringLiteral("Night Drive FM"),
         ChannelKind::Radio,
         2,
         96,
         {
             {"Neon Ferry - Midnight Overpass", 146.8, 6.0, 5, 17, true},
             {"Kestrel Avenue - Sodium Lights", 164.8, 4.0, 7, 19, true},
             {"Neon Ferry - Exit 42", 130.8, 8.0, 3, 15, false},
         }},
        {"TONE",
         QStringLiteral("Tone Test 64"),
         ChannelKind::Radio,
         3,
         64,
         {
             {"Corvane Test Signals - Pentatonic Steps", 330.0, 2.0, 2, 12, false},
             {"Corvane Test Signals - Fifths Ladder", 293.7, 3.0, 7, 36, true},
             {"Corvane Test Signals - Chromatic Walk", 246.9, 4.0, 1, 13, false},
         }},
        {"ICE",
         QStringLiteral("Corvane Ice"),
         ChannelKind::Radio,
         5,
         128,
         {
             {"Glacier Choir - Meltwater", 207.7, 3.0, 5, 17, false},
             {"Polar Lights - Aurora Steps", 185.0, 4.5, 2, 12, true},
         },
         "/live.mp3"},
        {"HLS",
         QStringLiteral("Corvane HLS Radio"),
         ChannelKind::Radio,
         6,
         64,
         {
             {"Harbour Signal - Tidal Clock", 196.0, 3.0, 5, 17, false},
             {"Lumen Drift - Segment Garden", 233.1, 4.0, 7, 24, true},
             {"Harbour Signal - Slow Buoy", 174.6, 2.0, 2, 12, false},
         },
         "/live.m3u8",
         true},
        {"TESTCARD", QStringLiteral("Test Card TV"), ChannelKind::TV, 4, 1400, {}},
    };
    return channels;
}
