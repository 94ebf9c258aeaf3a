#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace zlm {

class GraphControl;
class GraphDialogs;
struct SessionState;

/**
 * The deviation graph window ("Deviation Graph"): the maximum deviation of every
 * straightedge placement against its station, the threshold line, the section
 * boundaries labelled with their percentages, and the elevation profile on a
 * second axis. Commands Print, Save/Export and Undo Zoom stand along the top;
 * the pointer readout ("x=", "y=") at the bottom right. The same window, with
 * its commands and keys, shows other analyses' graphs (the ride-quality graph)
 * through a GraphFiller.
 *
 * Keys: Ctrl+P prints, Ctrl+S exports, Ctrl+Z and Home undo the zoom; + (or =)
 * and - zoom in and out by kKeyZoomFactor along the distance axis, around the
 * readout's distance when the pointer has set one within the view, else around
 * the view's middle; Left and Right move the view by kKeyPanShare of its width,
 * never past the profile; F1 asks for the guide (HelpRequested).
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
     * `state` holds the results to show (state.straightedge.results, the working elevations,
     * the units and the profile's title); `lblFileCaption` is the full path of
     * the profile. `dialogs` answers the print and export dialogs; nullptr uses
     * the standard ones.
     */
    frmSkiPlot(const SessionState& state, const QString& lblFileCaption, QWidget* parent = nullptr,
               GraphDialogs* dialogs = nullptr);
    /** Fills the graph of a window that shows another analysis than the deviations. */
    using GraphFiller = std::function<void(GraphControl& graph)>;
    /**
     * A graph window titled `windowTitle` whose graph `fill` fills (the ride-quality
     * graph), with the same commands, keys and readout; printing pages up to
     * `pagingLimit`, the distance of the last profile point.
     */
    frmSkiPlot(const QString& windowTitle, const GraphFiller& fill, double pagingLimit, QWidget* parent = nullptr,
               GraphDialogs* dialogs = nullptr);
    ~frmSkiPlot() override;

    /** How much + and - zoom in and out. */
    static constexpr double kKeyZoomFactor = 2.0;
    /** How far Left and Right move the view, as a share of its width. */
    static constexpr double kKeyPanShare = 0.25;

    /** The graph (object name Pesgoa1). */
    GraphControl* Graph() const;
    /** The paging limit printing uses: the distance of the last profile point, feet. */
    double PagingLimit() const;

    /**
     * Zooms the distance axis to `start` .. `end` as the user's rubber band does,
     * so Undo Zoom goes back to the whole profile.
     */
    void ZoomToDistance(double start, double end);

    /** The zoom keys' work: + (factor kKeyZoomFactor) and - (its inverse). */
    void ZoomIn();
    void ZoomOut();
    /** The arrow keys' work: Left (-1) and Right (+1). */
    void PanBy(int direction);

signals:
    /** F1 was pressed: the owner shows the user guide's page on the graph. */
    void HelpRequested();

private:
    void Load(const GraphFiller& fill, double pagingLimit);
    void LayoutGraphWindow();
    void ConnectKeys();
    double ZoomCentre() const;
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
    std::optional<double> readoutDistance_;
};

} // namespace zlm
