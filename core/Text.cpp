#include "Text.h"

#include <QStringDecoder>

namespace core {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it leaves undefined keep
// their Latin-1 control character, so every byte still shows as something.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsValidUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

} // namespace

QString ShowBytes(std::string_view Bytes, Fallback Other)
{
    if (IsValidUtf8(Bytes))
        return QString::fromUtf8(Bytes.data(), qsizetype(Bytes.size()));
    QString text(qsizetype(Bytes.size()), Qt::Uninitialized);
    for (size_t i = 0; i < Bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(Bytes[i]);
        const bool cp1252 = Other == Fallback::Windows1252 && byte >= 0x80 && byte <= 0x9F;
        text[qsizetype(i)] = QChar(cp1252 ? kCp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

std::string StoreText(const QString& Text)
{
    return Text.toStdString();
}

} // namespace core
