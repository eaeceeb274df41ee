// Design-time properties of our own controls (skin picture, tray tip, button style...).
//
// Each control saves and restores its properties by key, each key with its default. A value equal
// to its default is not stored, so a saved design lists only what was changed and reading a missing
// key gives the default back. A bag serialises to bytes so a window's design can be kept in a file.
#pragma once

#include <QByteArray>
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

    QByteArray Save() const;
    // Replaces the contents with a saved bag; false (and an empty bag) when the bytes are not one.
    bool Load(const QByteArray& bytes);

  private:
    QVariantMap m_values;
};

} // namespace controls
