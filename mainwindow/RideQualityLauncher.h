#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QPushButton;
class QWidget;

namespace zlm {

class RideQualityWindow;
struct SessionState;
class UserDialogs;

/**
 * The main window's Ride Quality command: its button ("Ride &Quality…",
 * cmdRideQuality, Alt+Q) and the modeless Ride Quality window it opens for
 * the open profile. The window is kept between uses and raised again; a window
 * of another file, another unit system or a profile read again with other
 * contents is replaced, and the session's ride-quality results, which belong
 * to what was analysed, go with it.
 */
class RideQualityLauncher final : public QObject {
    Q_OBJECT

public:
    /** Gives the path of the open profile, empty when none is open. */
    using ProfilePathSource = std::function<QString()>;

    /**
     * `state` is the session and `dialogs` answers the questions; both must
     * outlive the launcher. The button is made a child of `buttonParent`,
     * disabled until the main window enables it.
     */
    RideQualityLauncher(SessionState& state, UserDialogs& dialogs, ProfilePathSource profilePath,
                        QWidget* buttonParent);
    ~RideQualityLauncher() override;

    QPushButton* Button() const { return button_; }
    /** The window last opened, or null. */
    RideQualityWindow* Window() const;

    /** The command: opens (or raises) the window for the open profile in the method's units. */
    void Open();

private:
    SessionState& state_;
    UserDialogs& dialogs_;
    ProfilePathSource profilePath_;
    QPushButton* button_;
    QWidget* owner_;
    QPointer<RideQualityWindow> window_;
    std::uint64_t profileFingerprint_ = 0; ///< of the main window's profile when the window was made
};

} // namespace zlm
