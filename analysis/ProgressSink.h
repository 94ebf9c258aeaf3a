#pragma once

#include <cstdint>

namespace zlm {

/**
 * Where a long analysis (the straightedge, ride quality, ...) reports its
 * progress. An analysis calls, in this order: SetTextVisible(false) and
 * SetVisible(true) at the start; SetValue(v) (percent done) then Refresh() after
 * each step of its work (a straightedge placement, a stretch of profile);
 * SetVisible(false) at the end. The main window implements it with its
 * Tallyline bar, the batch tool with a line on a terminal.
 */
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetTextVisible(bool visible) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetValue(std::int16_t percent) = 0;
    virtual void Refresh() = 0;
    /**
     * Asked after each Refresh: true stops the run (the analysis throws
     * RunCancelled). The window answers it when the user cancels; others never do.
     */
    virtual bool CancelRequested() { return false; }
};

/** Thrown by an analysis when its progress sink asks it to stop. */
struct RunCancelled {};

/** A progress sink that shows nothing. */
class NullProgress final : public ProgressSink {
public:
    void SetTextVisible(bool) override {}
    void SetVisible(bool) override {}
    void SetValue(std::int16_t) override {}
    void Refresh() override {}
};

} // namespace zlm
