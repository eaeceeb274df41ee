#include "PropertyBag.h"

#include <QDataStream>
#include <QIODevice>

namespace controls {

namespace {
// Tags the serialised form, so that bytes of another kind are refused rather than misread.
constexpr quint32 BagMagic = 0x43504231; // "CPB1"
} // namespace

QVariant PropertyBag::ReadProperty(const QString& key, const QVariant& defaultValue) const
{
    return m_values.value(key, defaultValue);
}

void PropertyBag::WriteProperty(const QString& key, const QVariant& value,
                                const QVariant& defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue)
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

QByteArray PropertyBag::Save() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << BagMagic << m_values;
    return bytes;
}

bool PropertyBag::Load(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    QVariantMap values;
    in >> magic >> values;
    if (magic != BagMagic || in.status() != QDataStream::Ok) {
        m_values.clear();
        return false;
    }
    m_values = std::move(values);
    return true;
}

} // namespace controls
