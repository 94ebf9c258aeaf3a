#pragma once

#include "analysis/MethodPresets.h"

#include <QString>

#include <vector>

class QSettings;

namespace zlm {

/**
 * The straightedge methods remembered between sessions: the method in force
 * and the user's own named methods, kept in the user's ZLM settings. A value
 * that is missing or unreadable reads as the default method.
 */
class MethodSettings {
public:
    /** Works on `settings`, which must outlive it (tests pass their own file). */
    explicit MethodSettings(QSettings& settings);

    StraightedgeMethod MethodInForce() const;
    void SetMethodInForce(const StraightedgeMethod& method);

    /** The user's methods, in the order they were saved. */
    std::vector<NamedMethod> UserMethods() const;
    /** Replaces the list of the user's methods. */
    void SetUserMethods(const std::vector<NamedMethod>& methods);

private:
    QSettings& settings_;
};

} // namespace zlm
