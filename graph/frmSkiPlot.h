#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QPushButton;

namespace zlm {

class GraphControl;
class GraphDialogs;
struct RunResults;
struct SessionState;

/**
 * The deviation graph window ("Deviation Graph"): the maximum deviation of every
 * straightedge placement against its station, the threshold line, the section
 * boundaries labelled with their percentages, and the elevation profile on a
 * second axis. Commands Print, Save/Export and Undo Zoom stand along the top;
 * the pointer readout ("x=", "y=") at the bottom right.
 *
 * The window is built afresh from the last run's results as they are when it is
 * constructed (their method and section length, not the main window's controls)
 * and reads nothing of them afterwards. Its load shows the hourglass: if an
 * override cursor is already active (the Plot command's hourglass) the load takes
 * it over and restores it when done; otherwise it sets its own and restores it.
 */
class frmSkiPlot : public QDialog {
    Q_OBJECT

public:
    /**
     * `state` holds the results to show (state.results, the working elevations,
     * the units and the profile's title); `lblFileCaption` is the full path of
     * the profile. `dialogs` answers the print and export dialogs; nullptr uses
     * the standard ones.
     */
    frmSkiPlot(const SessionState& state, const QString& lblFileCaption, QWidget* parent = nullptr,
               GraphDialogs* dialogs = nullptr);
    ~frmSkiPlot() override;

    /** The graph (object name Pesgoa1). */
    GraphControl* Graph() const;
    /** The paging limit printing uses: the distance of the last profile point, feet. */
    double PagingLimit() const;

    /**
     * Zooms the distance axis to `start` .. `end` as the user's rubber band does,
     * so Undo Zoom goes back to the whole profile.
     */
    void ZoomToDistance(double start, double end);

private:
    void Load(const SessionState& state, const QString& lblFileCaption);
    void LayoutGraphWindow();
    void RefreshReadout(const QPoint& pixel);
    void cmdPrint_Click();
    void cmdSave_Click();
    void cmdUndoZoom_Click();

    std::unique_ptr<GraphDialogs> ownDialogs_;
    GraphDialogs* dialogs_;
    GraphControl* graph_;
    QPushButton* cmdPrint_;
    QPushButton* cmdSave_;
    QPushButton* cmdUndoZoom_;
    QLabel* lblx_;
    QLabel* lblPoint_;
    QLabel* lbly_;
    QLabel* lblPointY_;
    double pagingLimit_ = 0.0;
};

} // namespace zlm
