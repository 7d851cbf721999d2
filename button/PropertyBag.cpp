#include "button/PropertyBag.h"

#include <algorithm>

namespace tavo {

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::Find(const QString& name) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.name.compare(name, Qt::CaseInsensitive) == 0; });
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
    auto it = Find(name);
    return it == entries_.end() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
    auto it = Find(name);
    // QVariant compares values of different types as unequal, so a picture never
    // matches a file-name default and is always kept.
    if (defaultValue.isValid() && value == defaultValue) {
        if (it != entries_.end()) entries_.erase(it);
        return;
    }
    if (it != entries_.end()) {
        entries_[static_cast<std::size_t>(it - entries_.begin())].value = value;
    } else {
        entries_.push_back(Entry{name, value});
    }
}

bool PropertyBag::Contains(const QString& name) const { return Find(name) != entries_.end(); }

QStringList PropertyBag::Names() const {
    QStringList names;
    for (const Entry& e : entries_) names << e.name;
    return names;
}

}  // namespace tavo
