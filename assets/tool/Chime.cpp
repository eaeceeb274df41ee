#include "Catalogues.h"

#include <QtEndian>
#include <cmath>
#include <vector>

namespace artwork {

namespace {

constexpr int SampleRate = 44100;
constexpr double Seconds = 0.6;
constexpr double Peak = 0.45; // of full scale: a notification, not an alarm

struct Note
{
    double start;     // seconds
    double frequency; // Hz
    double level;
};

// A rising fifth, C6 then G6: each note a sine with a soft second partial, a 4 ms attack and
// an exponential decay, so it rings like a small bell rather than beeps.
double Sample(double t)
{
    constexpr double Pi = 3.14159265358979323846;
    constexpr Note notes[] = {{0.0, 1046.50, 1.0}, {0.11, 1567.98, 0.85}};
    double sum = 0;
    for (const Note& note : notes) {
        const double local = t - note.start;
        if (local < 0)
            continue;
        const double envelope = (1 - std::exp(-local / 0.004)) * std::exp(-local / 0.14);
        const double phase = 2 * Pi * note.frequency * local;
        sum += note.level * envelope * (std::sin(phase) + 0.22 * std::sin(2 * phase));
    }
    // The last 50 ms fade to silence so the file ends without a click.
    const double tail = (Seconds - t) / 0.05;
    return tail < 1 ? sum * std::max(0.0, tail) : sum;
}

void Append(QByteArray& out, quint32 value, int bytes)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    out.append(buffer, bytes);
}

} // namespace

QByteArray ChimeWav()
{
    const int count = static_cast<int>(Seconds * SampleRate);
    std::vector<double> wave(count);
    double loudest = 0;
    for (int i = 0; i < count; ++i) {
        wave[i] = Sample(static_cast<double>(i) / SampleRate);
        loudest = std::max(loudest, std::abs(wave[i]));
    }
    const double gain = Peak * 32767 / loudest;

    const quint32 dataBytes = static_cast<quint32>(count) * 2;
    QByteArray out;
    out.reserve(44 + static_cast<int>(dataBytes));
    out.append("RIFF");
    Append(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    Append(out, 16, 4);             // format chunk size
    Append(out, 1, 2);              // PCM
    Append(out, 1, 2);              // mono
    Append(out, SampleRate, 4);     // samples per second
    Append(out, SampleRate * 2, 4); // bytes per second
    Append(out, 2, 2);              // bytes per frame
    Append(out, 16, 2);             // bits per sample
    out.append("data");
    Append(out, dataBytes, 4);
    for (const double value : wave)
        Append(out, static_cast<quint16>(static_cast<qint16>(std::lround(value * gain))), 2);
    return out;
}

} // namespace artwork
