#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>
#include <vector>

class QCPAbstractItem;
class QCPAbstractPlottable;
class QCPGraph;
class QCPPainter;
class QCPTextElement;
class QCustomPlot;

namespace zlm {

class GraphDialogs;

/**
 * The deviation graph's drawing component: an adapter over QCustomPlot that
 * offers what the graph window needs and nothing more: titles, a line plot of
 * subsets over two vertical axes from X/Y arrays with a null marker, labelled
 * horizontal and vertical lines, a rubber-band zoom along the distance axis with
 * undo, zooming by a factor and panning (the window's keys), the zoom window in
 * distance units, pointer-to-graph conversion, rendering
 * for a given pixel size, and an image export with its own save dialog.
 *
 * On screen, a curve with more points than its pixel columns can show is drawn
 * from the points that make each column's picture (DecimatedIndices): the same
 * envelope as the whole curve, so a long run opens and zooms at once; the
 * shaded bands are drawn merged by pixel column. Printing, rendering and export
 * draw every point and every band's own rectangle.
 */
class GraphControl : public QWidget {
    Q_OBJECT

public:
    /** The parts of an extra title line, shown at the left, centre and right. */
    struct TitleParts {
        QString left;
        QString centre;
        QString right;
    };

    /** How one curve is drawn. */
    struct SubsetStyle {
        QString label;
        QColor colour;
        int axis = 0; ///< 0: the left vertical axis, 1: the right one
    };

    /** One curve: its points in order of distance; a NaN value breaks the line there. */
    struct Curve {
        SubsetStyle style;
        std::vector<float> x;
        std::vector<float> y;
    };

    /** A labelled line as it was added. */
    struct LineInfo {
        Qt::Orientation orientation = Qt::Horizontal; ///< Horizontal: a Y value; Vertical: an X value
        double value = 0.0;
        int axis = 0; ///< the vertical axis a horizontal line belongs to
        QColor colour;
        QString label;
    };

    explicit GraphControl(QWidget* parent = nullptr);
    ~GraphControl() override;

    void SetMainTitle(const QString& text);
    QString MainTitle() const;
    void SetSubtitle(const QString& text);
    QString Subtitle() const;

    /**
     * Sets extra title line `line` (0 to 2), shown under the subtitle. The text is
     * split at its first and last "|" into a left, centre and right part
     * ("|Threshold Value = 0.25 (in)|" is centred); a "|" between them stays in
     * the centre. A text without "|" is centred whole.
     */
    void SetExtraTitleLine(int line, const QString& text);
    QString ExtraTitleLine(int line) const;
    /** The parts the graph shows for an extra title line. */
    static TitleParts SplitTitleLine(const QString& text);

    void SetXAxisLabel(const QString& text);
    QString XAxisLabel() const;
    /** Label of vertical axis 0 (left) or 1 (right). */
    void SetYAxisLabel(int axis, const QString& text);
    QString YAxisLabel(int axis) const;

    /**
     * Replaces the plotted data, one line per curve (subset k is curves[k]). A
     * point whose value is NaN is not drawn: the line breaks there. Points
     * beyond the shorter of a curve's x and y are ignored.
     */
    void SetData(const std::vector<Curve>& curves);
    /**
     * Adds `curve` as the next subset, after those set before: SetData({a, b})
     * is SetData({a}) then AddCurve(b). For a caller that lets events in
     * between the curves of a long road.
     */
    void AddCurve(const Curve& curve);
    int SubsetCount() const;
    SubsetStyle Subset(int subset) const;
    /** The points of a subset that are drawn, in order, without the breaks. */
    QVector<QPointF> DrawnPoints(int subset) const;

    /** Adds a horizontal line at `y` on vertical axis `axis`, its label at the right end of the line. */
    void AddHorizontalLine(double y, int axis, const QColor& colour, const QString& label);
    /** Adds a vertical line at distance `x` across the plot, its label beside the line at the top of the plot. */
    void AddVerticalLine(double x, const QColor& colour, const QString& label);
    QVector<LineInfo> Lines() const;

    /** A shaded band across the plot, from one distance to another. */
    struct BandInfo {
        double start = 0.0;
        double end = 0.0;
    };

    /**
     * Shades the distances `start` to `end` across the whole height of the plot,
     * behind the curves and lines. All bands share one style and one legend
     * entry, `label`, made with the first band.
     */
    void AddBand(double start, double end, const QColor& colour, const QString& label);
    QVector<BandInfo> Bands() const;

    /**
     * Marks `points` (distance, value on vertical axis `axis`) with symbols and
     * no line between them, named `label` in the legend. The markers take no
     * part in the graph's extent. Replaces markers set before.
     */
    void SetMarkers(const QVector<QPointF>& points, int axis, const QColor& colour, const QString& label);
    QVector<QPointF> Markers() const;

    /**
     * Applies everything set so far: the view takes the full extent of the data
     * (and of the horizontal lines on their axes), the zoom is cleared, and the
     * graph is redrawn.
     */
    void Redraw();

    /** True after the user zoomed in, until UndoZoom. */
    bool IsZoomed() const;
    /** Start and end of the horizontal zoom window, in distance units (feet). */
    double ZoomStart() const;
    double ZoomEnd() const;
    /** Moves the horizontal window; the zoomed flag stays as it is. */
    void SetZoomWindow(double start, double end);
    /** Zooms the way the user's rubber band does: sets the window and the zoomed flag. */
    void ZoomTo(double start, double end);
    /** Back to the full extent, flag cleared. On a graph that is not zoomed nothing changes. */
    void UndoZoom();
    /**
     * Zooms along the distance axis by `factor` (above 1 in, below 1 out) around
     * the distance `centre`, which keeps its place on the screen; a centre outside
     * the view stands for the view's middle. The window stays within the full
     * extent and is never narrower than kNarrowestShare of it. Zoomed in, the graph
     * is zoomed as after a rubber band; zoomed out to the full extent, it is no
     * longer zoomed, as after UndoZoom.
     */
    void ZoomAround(double centre, double factor);
    /**
     * Moves the window along the distance axis by `share` of its width (negative:
     * towards the start), never past the full extent, so a graph that is not
     * zoomed does not move. The zoomed flag stays as it is.
     */
    void Pan(double share);
    /** Start and end of the full extent, in distance units (feet). */
    double FullStart() const;
    double FullEnd() const;

    /** The narrowest zoom window, as a share of the full extent. */
    static constexpr double kNarrowestShare = 1e-6;

    /** Converts a pixel position on the graph to distance and deviation-axis coordinates. */
    QPointF PixelToGraph(const QPoint& pixel) const;

    /** Draws the whole graph, laid out for a width x height pixel target, with `painter`. */
    void Render(QCPPainter& painter, int width, int height);

    /** File types of the export, for the save dialog. */
    static QStringList ExportFilters();
    /**
     * Writes the image to `fileName`: PNG, JPEG, BMP or PDF by its extension, or
     * by `selectedFilter` when the extension names none of them (the filter's
     * extension is then appended). Returns the file written, or an empty text
     * when writing failed.
     */
    QString ExportImage(const QString& fileName, const QString& selectedFilter = QString());
    /** The file ExportImage writes for these arguments. */
    static QString ExportFileName(const QString& fileName, const QString& selectedFilter = QString());
    /** Lets the user export the image: the save dialog, then ExportImage; a failure is reported. */
    void Export(GraphDialogs& dialogs);

    /** The QCustomPlot drawing the graph, for the pointer and for measurements. */
    QCustomPlot* Plot() const;

signals:
    /** The pointer moved over the graph to `pixel` (graph widget coordinates). */
    void PointerMoved(const QPoint& pixel);

private:
    struct CurveData;
    /** RAII: every point of every curve drawn, for printing, rendering and export. */
    class FullDataScope;

    void FitFullExtent();
    /** Hands each curve the points its pixel columns need, once the layout is known (afterLayout). */
    void ShowScreenData();
    /** Hands each curve all its points. */
    void ShowFullData();
    void UpdateZoomAfterRubberBand();

    QCustomPlot* plot_;
    QCPTextElement* mainTitle_;
    QCPTextElement* subtitle_;
    QString extraLines_[3];
    QCPTextElement* extraParts_[3][3];
    std::vector<SubsetStyle> subsets_;
    std::vector<QCPGraph*> graphs_;
    std::vector<std::unique_ptr<CurveData>> curves_; ///< one per graph: every point, and what the screen shows
    bool fullDataOnly_ = false;                      ///< while printing, rendering or exporting
    // What the screen data were made for; a change of any makes them again.
    double screenLower_ = 0.0;
    double screenUpper_ = 0.0;
    int screenLeft_ = 0;
    int screenWidth_ = -1;
    QVector<LineInfo> lines_;
    QVector<BandInfo> bands_;
    QCPAbstractPlottable* bandLegend_ = nullptr;
    QVector<QCPAbstractItem*> bandItems_;    ///< the bands' own rectangles, which printing draws
    QCPAbstractItem* screenBands_ = nullptr; ///< the bands merged by pixel column, which the screen draws
    QCPGraph* markers_ = nullptr;
    bool zoomed_ = false;
    double fullStart_ = 0.0;
    double fullEnd_ = 1.0;
    double rubberBandStart_ = 0.0;
    double rubberBandEnd_ = 0.0;
};

} // namespace zlm
