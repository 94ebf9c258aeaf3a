#pragma once

#include "analysis/ProgressSink.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <cstdint>

/**
 * The main window's progress bar: the Tallyline control Tallyline1, loaded from
 * its plugin by class name and driven only through its meta-object (properties
 * by name and the invokable Refresh), as the straightedge engine's progress sink.
 *
 * The control is created hidden as a child of the host, in the host's saved
 * state (BarColor RGB 255,192,128; TextFont "MS Sans Serif" 8.25 pt regular, or
 * the nearest installed font; TextVisible false; 12303 x 238 hundredths of a
 * millimetre, that is 6975 x 135 twips). The host owns it and puts Widget() in
 * its layout. When the plugin cannot be found, the program runs without a
 * progress bar: IsLoaded() is false, every progress call does nothing, and one
 * line on standard error says so.
 */
class TallylineProgress final : public zlm::ProgressSink {
public:
    /** Loads the plugin from DefaultSearchFolders() and creates Tallyline1 on host. */
    explicit TallylineProgress(QWidget* host);
    /** Loads the plugin from the given folders only, in order. */
    TallylineProgress(QWidget* host, const QStringList& searchFolders);

    /**
     * Returns where the plugin is looked for, in order: the folders of the
     * ZLM_PLUGIN_PATH environment variable (separated like PATH) when it is set,
     * "zlm-plugins" next to the executable (the build tree), then the install
     * location at the configured prefix and the same location relative to the
     * executable (an installed tree that was moved).
     */
    static QStringList DefaultSearchFolders();

    bool IsLoaded() const { return !control_.isNull(); }
    /** Returns the control for the host's layout, or nullptr when it is not loaded. */
    QWidget* Widget() const { return control_.data(); }

    void SetTextVisible(bool visible) override;
    void SetVisible(bool visible) override;
    void SetValue(std::int16_t percent) override;
    /** Repaints the bar at once, but only when something visible changed since the last repaint. */
    void Refresh() override;

private:
    void Load(QWidget* host, const QStringList& searchFolders);

    QPointer<QWidget> control_;
    std::int16_t value_ = 0;
    std::int16_t paintedValue_ = -1;
    bool stale_ = true;
};
