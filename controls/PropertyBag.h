// Design-time properties of our own controls (skin picture, tray tip, button style...).
//
// Each control saves and restores its properties by key, each key with its default. A value equal
// to its default is not stored, so a saved design lists only what was changed and reading a missing
// key gives the default back.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace controls {

class PropertyBag
{
  public:
    // The stored value of `key`, or `defaultValue` when none is stored.
    QVariant ReadProperty(const QString& key, const QVariant& defaultValue = {}) const;
    // Stores `value` under `key`; a value equal to `defaultValue` removes the key instead.
    void WriteProperty(const QString& key, const QVariant& value,
                       const QVariant& defaultValue = {});

    bool Contains(const QString& key) const { return m_values.contains(key); }
    QStringList Keys() const { return m_values.keys(); }
    bool IsEmpty() const { return m_values.isEmpty(); }

  private:
    QVariantMap m_values;
};

} // namespace controls
