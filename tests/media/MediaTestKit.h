#pragma once
// Shared by the media tests: media made with ffmpeg, and a record of what a player reported.
#include "MediaPlayer.h"

#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace mediatest {

constexpr int Patience = 15000; // these are 2-core machines

// Makes a file with ffmpeg from lavfi sources; empty when ffmpeg failed.
inline QString MakeMedia(const QTemporaryDir& dir, const QString& name,
                         const QStringList& arguments)
{
    const QString path = dir.filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-hide_banner", "-v", "error", "-y"} + arguments + QStringList{path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg failed: " << ffmpeg.readAllStandardError().toStdString();
        return {};
    }
    return path;
}

inline QString MakeTone(const QTemporaryDir& dir, int seconds)
{
    return MakeMedia(dir, QStringLiteral("tone%1.mp3").arg(seconds),
                     {"-f", "lavfi", "-i",
                      QStringLiteral("sine=frequency=440:duration=%1").arg(seconds), "-c:a",
                      "libmp3lame", "-b:a", "64k"});
}

// A test card with sound, as the TV channel sends it: MPEG-TS, MPEG-2 video, MP2 audio.
inline QString MakeTestCard(const QTemporaryDir& dir, int seconds)
{
    const QString duration = QString::number(seconds);
    return MakeMedia(dir, QStringLiteral("card%1.ts").arg(seconds),
                     {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=" + duration,
                      "-f", "lavfi", "-i", "sine=frequency=330:duration=" + duration, "-c:v",
                      "mpeg2video", "-c:a", "mp2", "-shortest"});
}

// Colour somewhere in the picture: the test card is never all black.
inline bool HasPicture(const QImage& image)
{
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            if (qGray(image.pixel(x, y)) > 40) {
                return true;
            }
        }
    }
    return false;
}

using State = platform::MediaPlayer::State;

// Every state a player went through, in order.
struct StateLog
{
    explicit StateLog(platform::MediaPlayer& player)
    {
        QObject::connect(&player, &platform::MediaPlayer::StateChanged, &receiver,
                         [this](State state) { states.push_back(state); });
    }
    bool Saw(State state) const
    {
        return std::find(states.begin(), states.end(), state) != states.end();
    }
    std::vector<State> states;
    QObject receiver; // the connection ends with the log
};

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = Patience)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

inline bool WaitForState(platform::MediaPlayer& player, State state, int timeoutMs = Patience)
{
    return WaitFor([&] { return player.state() == state; }, timeoutMs);
}

} // namespace mediatest
