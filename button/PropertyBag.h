#pragma once
// The stored properties of one control instance, as its host window keeps them.
// A value equal to its declared default is left out when written, so reading it
// back gives the default again. Names are matched without regard to case.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace tavo {

class PropertyBag {
  public:
    // The stored value of name, or defaultValue when the bag holds none.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;

    // Stores value under name, or leaves name out (removing an earlier value)
    // when value equals defaultValue.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool Contains(const QString& name) const;
    // The stored names in the order they were first written.
    QStringList Names() const;
    bool Empty() const { return entries_.empty(); }

  private:
    struct Entry {
        QString name;
        QVariant value;
    };
    std::vector<Entry>::const_iterator Find(const QString& name) const;

    std::vector<Entry> entries_;
};

}  // namespace tavo
