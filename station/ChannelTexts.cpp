#include "ChannelTexts.h"

#include <QString>

namespace {

bool IsRadio(const ChannelPlan& plan)
{
    return plan.kind == ChannelKind::Radio;
}

QByteArray Html(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

// "Four radio channels", "a TV channel": the advert's sentence starts with it.
QByteArray Counted(qsizetype count, const char* what, bool first)
{
    static const char* const words[] = {"no",  "one",   "two",   "three", "four", "five",
                                        "six", "seven", "eight", "nine",  "ten"};
    QByteArray number = count == 1
                            ? QByteArray("a")
                            : (count < 11 ? QByteArray(words[count]) : QByteArray::number(count));
    if (first)
        number[0] = char(QChar::toUpper(uint(number[0])));
    return number + " " + what + (count == 1 ? "" : "s");
}

} // namespace

QByteArray FormatOf(const ChannelPlan& plan)
{
    const QByteArray kbps = QByteArray::number(plan.bitrateKbps) + " kbps";
    if (plan.hls)
        return "HLS: AAC " + kbps + " in 2 s MPEG-TS segments";
    return IsRadio(plan) ? "MP3, " + kbps : QByteArray("MPEG-TS, MPEG-2 video and MP2 sound");
}

QMap<QByteArray, QByteArray> ChannelTexts(const QList<ListedChannel>& channels)
{
    QByteArray ini, rows;
    qsizetype radios = 0, tv = 0;
    for (const bool radio : {true, false}) {
        bool section = false;
        for (const ListedChannel& channel : channels) {
            const ChannelPlan& plan = *channel.plan;
            if (IsRadio(plan) != radio)
                continue;
            if (!section)
                ini += radio ? "[Radio]\n" : "[TV]\n";
            section = true;
            ini += plan.name.toUtf8() + "=" + channel.url + "\n";
            ++(radio ? radios : tv);
        }
    }
    for (const ListedChannel& channel : channels) {
        const ChannelPlan& plan = *channel.plan;
        rows += "  <tr><td>" + QByteArray(IsRadio(plan) ? "Radio" : "TV") + "</td><td>" +
                Html(plan.name) + "</td><td><code>" + Html(QString::fromUtf8(channel.url)) +
                "</code></td><td>" + FormatOf(plan) + "</td></tr>\n";
    }
    QByteArray summary = Counted(radios, "radio channel", true);
    if (tv > 0)
        summary += " and " + Counted(tv, "TV channel", false);
    return {{"CHANNEL_INI", ini}, {"CHANNEL_ROWS", rows}, {"CHANNEL_SUMMARY", summary}};
}
