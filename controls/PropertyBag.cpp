#include "PropertyBag.h"

namespace controls {

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

} // namespace controls
