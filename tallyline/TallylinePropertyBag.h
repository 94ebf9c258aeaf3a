#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

/**
 * The named entries a host keeps for a control between sessions: the control
 * reads its settings from a bag and writes them back into one.
 *
 * Keys are matched without regard to case; the bag stores them in lower case.
 * An absent key reads as the default the reader gives. Writing a value equal to
 * its default removes the entry instead, so a bag holds only what differs from
 * the defaults and reading it back gives the same settings.
 *
 * The control's invokable ReadProperties / WriteProperties take and return the
 * entries as a QVariantMap; this class is the shared way to build and read one.
 */
class TallylinePropertyBag {
public:
    TallylinePropertyBag() = default;

    /** Takes over the given entries; keys in any case. */
    explicit TallylinePropertyBag(const QVariantMap& entries)
    {
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            entries_.insert(it.key().toLower(), it.value());
    }

    /** Returns the entry under key, or defaultValue when there is none. */
    QVariant Read(const QString& key, const QVariant& defaultValue) const
    {
        const auto it = entries_.constFind(key.toLower());
        return it == entries_.cend() ? defaultValue : it.value();
    }

    /** Stores value under key; a value equal to defaultValue leaves no entry. */
    void Write(const QString& key, const QVariant& value, const QVariant& defaultValue)
    {
        if (value == defaultValue)
            entries_.remove(key.toLower());
        else
            entries_.insert(key.toLower(), value);
    }

    /** Stores value under key whatever its default (the host's own entries). */
    void Write(const QString& key, const QVariant& value) { entries_.insert(key.toLower(), value); }

    bool Contains(const QString& key) const { return entries_.contains(key.toLower()); }

    /** Returns every entry, keyed in lower case. */
    const QVariantMap& Entries() const { return entries_; }

private:
    QVariantMap entries_;
};
