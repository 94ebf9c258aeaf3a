#include "mainwindow/RideQualityLauncher.h"

#include "commands/OpenCommand.h"
#include "commands/SessionState.h"
#include "graph/LocaleText.h"
#include "mainwindow/RideQualityWindow.h"
#include "mainwindow/UserDialogs.h"

#include <QFile>
#include <QPushButton>

#include <optional>

namespace zlm {

namespace {

/**
 * What a delimited file needs for its elevation columns that its header does
 * not say, asked as the open command asks it; nothing when the user cancels.
 * Other formats need nothing.
 */
std::optional<DelimitedUnits> AskRideUnits(const std::string& path, UserDialogs& dialogs)
{
    if (ProfileFormatOf(path) != ProfileFormat::Delimited)
        return DelimitedUnits{};
    const DelimitedProbeResult probe = ProbeDelimitedProfile(path);
    if (!probe.ok)
        return DelimitedUnits{}; // the read refuses it with the reader's text
    NeededUnits needed = UnitsNeeded(probe.layout, 1);
    if (probe.layout.elevationCount > 1) {
        const NeededUnits second = UnitsNeeded(probe.layout, 2);
        needed.distanceUnit = needed.distanceUnit || second.distanceUnit;
        needed.elevationUnit = needed.elevationUnit || second.elevationUnit;
        needed.interval = needed.interval || second.interval;
    }
    if (!needed.Any())
        return DelimitedUnits{};
    return dialogs.AskDelimitedUnits(probe, needed);
}

/**
 * A fingerprint of the main window's profile (FNV-1a over its values), so that
 * a file opened again with other contents under the same name is told apart.
 */
std::uint64_t ProfileFingerprint(const ElevationProfile& profile)
{
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    mix(&profile.pointCount, sizeof profile.pointCount);
    mix(&profile.interval, sizeof profile.interval);
    mix(profile.elevations.data(), profile.elevations.size() * sizeof(double));
    return hash;
}

} // namespace

RideQualityLauncher::RideQualityLauncher(SessionState& state, UserDialogs& dialogs, ProfilePathSource profilePath,
                                         QWidget* buttonParent)
    : QObject(buttonParent), state_(state), dialogs_(dialogs), profilePath_(std::move(profilePath)),
      button_(new QPushButton(QStringLiteral("Ride &Quality..."), buttonParent)), owner_(buttonParent->window())
{
    button_->setObjectName(QStringLiteral("cmdRideQuality"));
    button_->setToolTip(QStringLiteral("IRI, MRI and HRI by section, and localized roughness"));
    button_->setAutoDefault(false);
    button_->setEnabled(false);
    connect(button_, &QPushButton::clicked, this, &RideQualityLauncher::Open);
}

RideQualityLauncher::~RideQualityLauncher()
{
    delete window_;
}

RideQualityWindow* RideQualityLauncher::Window() const
{
    return window_;
}

void RideQualityLauncher::Open()
{
    const QString path = profilePath_();
    if (path.isEmpty())
        return;
    const UnitSystem units = state_.straightedge.method.units;
    const std::uint64_t fingerprint = ProfileFingerprint(state_.profile);
    if (window_ != nullptr && window_->ProfilePath() == path && window_->Units() == units &&
        fingerprint == profileFingerprint_) {
        window_->show();
        window_->raise();
        window_->activateWindow();
        return;
    }
    const std::optional<DelimitedUnits> delimited = AskRideUnits(ToFileName(path), dialogs_);
    if (!delimited)
        return;
    // Results of another file or unit system are not this profile's.
    delete window_;
    state_.rideQuality.valid = false;
    profileFingerprint_ = fingerprint;
    window_ = new RideQualityWindow(state_, path, units, *delimited, dialogs_, owner_);
    window_->show();
    window_->activateWindow();
}

} // namespace zlm
