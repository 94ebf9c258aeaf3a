#include "graph/GraphControl.h"

#include "graph/CurveDecimation.h"
#include "graph/GraphDialogs.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zlm {

namespace {

/** The export types: filter text, format name, extension. */
struct ExportType {
    const char* filter;
    const char* format;
    const char* extension;
};

const ExportType kExportTypes[] = {
    {"PNG image (*.png)", "png", "png"},
    {"JPEG image (*.jpg *.jpeg)", "jpg", "jpg"},
    {"BMP image (*.bmp)", "bmp", "bmp"},
    {"PDF document (*.pdf)", "pdf", "pdf"},
};

void Widen(QCPRange& range, bool& found, const QCPRange& more)
{
    if (!found) {
        range = more;
        found = true;
    } else {
        range.expand(more);
    }
}

/** A range with room around its data, never of zero size. */
QCPRange Padded(QCPRange range, bool found, double share)
{
    if (!found)
        return QCPRange(0.0, 1.0);
    if (range.size() <= 0.0)
        return QCPRange(range.lower - 0.5, range.upper + 0.5);
    const double margin = range.size() * share;
    return QCPRange(range.lower - margin, range.upper + margin);
}

/**
 * The exceedance bands as the screen draws them: the pixel columns they cover,
 * merged into one rectangle per run of columns, filled once. A long run has
 * hundreds of zones, each a rectangle the height of the plot; blending each on
 * its own made every replot take half a second. Printing draws the bands' own
 * rectangles.
 */
class ScreenBands final : public QCPAbstractItem {
public:
    ScreenBands(QCustomPlot* plot, const QColor& colour) : QCPAbstractItem(plot), colour_(colour)
    {
        setClipToAxisRect(true);
        setSelectable(false);
    }

    void SetBands(QVector<GraphControl::BandInfo> bands)
    {
        std::sort(bands.begin(), bands.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
        bands_ = std::move(bands);
    }
    qsizetype Count() const { return bands_.size(); }

    double selectTest(const QPointF&, bool, QVariant* = nullptr) const override { return -1.0; }

protected:
    void draw(QCPPainter* painter) override
    {
        const QCPAxis* axis = parentPlot()->xAxis;
        const QRect area = clipRect();
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour_);
        const auto fill = [&](double from, double to) {
            painter->drawRect(QRectF(from, area.top(), std::max(to - from, 1.0), area.height()));
        };
        bool open = false;
        double spanStart = 0.0;
        double spanEnd = 0.0;
        for (const GraphControl::BandInfo& band : bands_) {
            const double from = std::floor(std::min(axis->coordToPixel(band.start), axis->coordToPixel(band.end)));
            const double to = std::ceil(std::max(axis->coordToPixel(band.start), axis->coordToPixel(band.end)));
            if (to < area.left() || from > area.right() + 1)
                continue;
            if (open && from <= spanEnd) {
                spanEnd = std::max(spanEnd, to);
                continue;
            }
            if (open)
                fill(spanStart, spanEnd);
            open = true;
            spanStart = std::max(from, static_cast<double>(area.left()));
            spanEnd = to;
        }
        if (open)
            fill(spanStart, spanEnd);
    }

private:
    QColor colour_;
    QVector<GraphControl::BandInfo> bands_;
};

} // namespace

/** One curve's points: all of them, in the plot's container and as plain arrays, and the screen's share. */
struct GraphControl::CurveData {
    QSharedPointer<QCPGraphDataContainer> full;
    QSharedPointer<QCPGraphDataContainer> screen; ///< null while the graph draws `full`
    std::vector<double> keys;
    std::vector<double> values;
    bool sorted = true;
};

class GraphControl::FullDataScope {
public:
    explicit FullDataScope(GraphControl& graph) : graph_(graph)
    {
        graph_.fullDataOnly_ = true;
        graph_.ShowFullData();
    }
    ~FullDataScope()
    {
        graph_.fullDataOnly_ = false;
        // The next screen replot makes the screen data again.
        graph_.screenWidth_ = -1;
    }
    FullDataScope(const FullDataScope&) = delete;
    FullDataScope& operator=(const FullDataScope&) = delete;

private:
    GraphControl& graph_;
};

GraphControl::GraphControl(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);

    // The titles stand above the plot: main title, subtitle, then the three extra
    // lines, each a row of a left, a centred and a right text.
    QCPLayoutGrid* grid = plot_->plotLayout();
    grid->setRowSpacing(0);
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    titleFont.setBold(true);
    QFont subtitleFont = font();
    subtitleFont.setPointSizeF(subtitleFont.pointSizeF() + 2);
    QFont lineFont = font();

    grid->insertRow(0);
    mainTitle_ = new QCPTextElement(plot_, QString(), titleFont);
    grid->addElement(0, 0, mainTitle_);
    grid->insertRow(1);
    subtitle_ = new QCPTextElement(plot_, QString(), subtitleFont);
    grid->addElement(1, 0, subtitle_);
    for (int line = 0; line < 3; ++line) {
        grid->insertRow(2 + line);
        auto* row = new QCPLayoutGrid;
        grid->addElement(2 + line, 0, row);
        row->setColumnSpacing(8);
        const int flags[3] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter, Qt::AlignRight | Qt::AlignVCenter};
        for (int part = 0; part < 3; ++part) {
            auto* text = new QCPTextElement(plot_, QString(), lineFont);
            text->setTextFlags(flags[part]);
            text->setMargins(QMargins(6, 1, 6, 1));
            row->addElement(0, part, text);
            extraParts_[line][part] = text;
        }
    }
    mainTitle_->setMargins(QMargins(2, 6, 2, 2));
    subtitle_->setMargins(QMargins(2, 2, 2, 4));

    // The legend names the subsets, centred in a row of its own under the plot:
    // the empty elements beside it take the spare width.
    const int legendRow = grid->rowCount();
    grid->insertRow(legendRow);
    auto* legendRowGrid = new QCPLayoutGrid;
    grid->addElement(legendRow, 0, legendRowGrid);
    plot_->axisRect()->insetLayout()->take(plot_->legend);
    legendRowGrid->addElement(0, 0, new QCPTextElement(plot_, QString()));
    legendRowGrid->addElement(0, 1, plot_->legend);
    legendRowGrid->addElement(0, 2, new QCPTextElement(plot_, QString()));
    legendRowGrid->setColumnStretchFactors({1.0, 0.001, 1.0});
    plot_->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot_->legend->setVisible(true);
    plot_->legend->setBorderPen(Qt::NoPen);
    plot_->legend->setMargins(QMargins(2, 0, 2, 2));
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretchFactor(row, row == legendRow - 1 ? 1.0 : 0.001);

    plot_->yAxis2->setVisible(true);
    plot_->yAxis2->setTickLabels(true);

    // Zooming is along the distance axis only; the rubber band is QCustomPlot's own.
    plot_->setSelectionRectMode(QCP::srmZoom);
    plot_->axisRect()->setRangeZoomAxes(plot_->xAxis, nullptr);
    connect(plot_->selectionRect(), &QCPSelectionRect::started, this, [this](QMouseEvent*) {
        rubberBandStart_ = plot_->xAxis->range().lower;
        rubberBandEnd_ = plot_->xAxis->range().upper;
    });
    // Connected after setSelectionRectMode, so this runs once QCustomPlot has zoomed.
    connect(plot_->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect&, QMouseEvent*) { UpdateZoomAfterRubberBand(); });

    // The layout is known at this point of a replot, and the curves not yet drawn.
    connect(plot_, &QCustomPlot::afterLayout, this, &GraphControl::ShowScreenData);

    plot_->setMouseTracking(true);
    connect(plot_, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* event) { emit PointerMoved(event->position().toPoint()); });
}

GraphControl::~GraphControl() = default;

void GraphControl::SetMainTitle(const QString& text)
{
    mainTitle_->setText(text);
}

QString GraphControl::MainTitle() const
{
    return mainTitle_->text();
}

void GraphControl::SetSubtitle(const QString& text)
{
    subtitle_->setText(text);
}

QString GraphControl::Subtitle() const
{
    return subtitle_->text();
}

GraphControl::TitleParts GraphControl::SplitTitleLine(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('|'));
    if (first < 0)
        return {QString(), text, QString()};
    const qsizetype last = text.lastIndexOf(QLatin1Char('|'));
    if (first == last)
        return {text.left(first), QString(), text.mid(first + 1)};
    return {text.left(first), text.mid(first + 1, last - first - 1), text.mid(last + 1)};
}

void GraphControl::SetExtraTitleLine(int line, const QString& text)
{
    if (line < 0 || line > 2)
        return;
    extraLines_[line] = text;
    const TitleParts parts = SplitTitleLine(text);
    extraParts_[line][0]->setText(parts.left);
    extraParts_[line][1]->setText(parts.centre);
    extraParts_[line][2]->setText(parts.right);
}

QString GraphControl::ExtraTitleLine(int line) const
{
    return line >= 0 && line <= 2 ? extraLines_[line] : QString();
}

void GraphControl::SetXAxisLabel(const QString& text)
{
    plot_->xAxis->setLabel(text);
}

QString GraphControl::XAxisLabel() const
{
    return plot_->xAxis->label();
}

void GraphControl::SetYAxisLabel(int axis, const QString& text)
{
    (axis == 1 ? plot_->yAxis2 : plot_->yAxis)->setLabel(text);
}

QString GraphControl::YAxisLabel(int axis) const
{
    return (axis == 1 ? plot_->yAxis2 : plot_->yAxis)->label();
}

void GraphControl::SetData(const std::vector<Curve>& curves)
{
    for (QCPGraph* graph : graphs_)
        plot_->removeGraph(graph);
    graphs_.clear();
    subsets_.clear();
    curves_.clear();
    for (const Curve& curve : curves)
        AddCurve(curve);
    screenWidth_ = -1;
}

void GraphControl::AddCurve(const Curve& curve)
{
    const std::size_t count = std::min(curve.x.size(), curve.y.size());
    auto data = std::make_unique<CurveData>();
    data->keys.assign(curve.x.begin(), curve.x.begin() + static_cast<std::ptrdiff_t>(count));
    data->values.assign(curve.y.begin(), curve.y.begin() + static_cast<std::ptrdiff_t>(count));
    data->sorted = std::is_sorted(data->keys.cbegin(), data->keys.cend());
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i)
        points.append(QCPGraphData(data->keys[i], data->values[i]));
    data->full = QSharedPointer<QCPGraphDataContainer>::create();
    data->full->set(points, data->sorted);
    QCPGraph* graph = plot_->addGraph(plot_->xAxis, curve.style.axis == 1 ? plot_->yAxis2 : plot_->yAxis);
    graph->setName(curve.style.label);
    graph->setPen(QPen(curve.style.colour));
    graph->setData(data->full);
    graphs_.push_back(graph);
    subsets_.push_back(curve.style);
    curves_.push_back(std::move(data));
    screenWidth_ = -1;
}

void GraphControl::ShowFullData()
{
    for (QCPAbstractItem* band : bandItems_)
        band->setVisible(true);
    if (screenBands_ != nullptr)
        screenBands_->setVisible(false);
    for (std::size_t k = 0; k < graphs_.size(); ++k) {
        CurveData& curve = *curves_[k];
        if (curve.screen.isNull())
            continue;
        curve.screen.reset();
        graphs_[k]->setData(curve.full);
        // QCustomPlot's own sampling, as every point was always drawn.
        graphs_[k]->setAdaptiveSampling(true);
    }
}

void GraphControl::ShowScreenData()
{
    if (fullDataOnly_)
        return;
    if (auto* screen = static_cast<ScreenBands*>(screenBands_)) {
        if (screen->Count() != bands_.size())
            screen->SetBands(bands_);
        screen->setVisible(true);
        for (QCPAbstractItem* band : bandItems_)
            band->setVisible(false);
    }
    const QCPRange range = plot_->xAxis->range();
    const QRect area = plot_->axisRect()->rect();
    if (range.lower == screenLower_ && range.upper == screenUpper_ && area.left() == screenLeft_ &&
        area.width() == screenWidth_)
        return;
    screenLower_ = range.lower;
    screenUpper_ = range.upper;
    screenLeft_ = area.left();
    screenWidth_ = area.width();
    // The columns are the axis rect's pixels, so that each holds exactly the keys
    // QCustomPlot draws in it (a reversed axis is not used here).
    for (std::size_t k = 0; k < graphs_.size(); ++k) {
        CurveData& curve = *curves_[k];
        if (!curve.sorted || curve.keys.size() <= 4 * static_cast<std::size_t>(std::max(area.width(), 0)) + 8) {
            if (!curve.screen.isNull()) {
                curve.screen.reset();
                graphs_[k]->setData(curve.full);
                graphs_[k]->setAdaptiveSampling(true);
            }
            continue;
        }
        const std::vector<std::size_t> kept =
            DecimatedIndices(curve.keys, curve.values, range.lower, range.upper, std::max(area.width(), 1));
        QVector<QCPGraphData> points(static_cast<qsizetype>(kept.size()));
        for (std::size_t i = 0; i < kept.size(); ++i)
            points[static_cast<qsizetype>(i)] = QCPGraphData(curve.keys[kept[i]], curve.values[kept[i]]);
        curve.screen = QSharedPointer<QCPGraphDataContainer>::create();
        curve.screen->set(points, true);
        graphs_[k]->setData(curve.screen);
        // The points kept are each column's own: nothing more may be dropped.
        graphs_[k]->setAdaptiveSampling(false);
    }
}

int GraphControl::SubsetCount() const
{
    return static_cast<int>(subsets_.size());
}

GraphControl::SubsetStyle GraphControl::Subset(int subset) const
{
    return subset >= 0 && subset < SubsetCount() ? subsets_[static_cast<std::size_t>(subset)] : SubsetStyle{};
}

QVector<QPointF> GraphControl::DrawnPoints(int subset) const
{
    QVector<QPointF> points;
    if (subset < 0 || subset >= SubsetCount())
        return points;
    const QSharedPointer<QCPGraphDataContainer> data = curves_[static_cast<std::size_t>(subset)]->full;
    points.reserve(data->size());
    for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
        if (!std::isnan(it->value))
            points.append(QPointF(it->key, it->value));
    }
    return points;
}

void GraphControl::AddHorizontalLine(double y, int axis, const QColor& colour, const QString& label)
{
    QCPAxis* valueAxis = axis == 1 ? plot_->yAxis2 : plot_->yAxis;
    auto* line = new QCPItemStraightLine(plot_);
    line->setPen(QPen(colour, 1.5));
    for (QCPItemPosition* point : {line->point1, line->point2})
        point->setAxes(plot_->xAxis, valueAxis);
    line->point1->setCoords(0.0, y);
    line->point2->setCoords(1.0, y);

    auto* text = new QCPItemText(plot_);
    text->setText(label);
    text->setColor(colour);
    text->position->setAxes(plot_->xAxis, valueAxis);
    text->position->setAxisRect(plot_->axisRect());
    text->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    text->position->setTypeY(QCPItemPosition::ptPlotCoords);
    text->position->setCoords(1.0, y);
    text->setPositionAlignment(Qt::AlignRight | Qt::AlignBottom);
    text->setPadding(QMargins(2, 0, 4, 1));

    lines_.append({Qt::Horizontal, y, axis == 1 ? 1 : 0, colour, label});
}

void GraphControl::AddVerticalLine(double x, const QColor& colour, const QString& label)
{
    auto* line = new QCPItemStraightLine(plot_);
    line->setPen(QPen(colour));
    for (QCPItemPosition* point : {line->point1, line->point2})
        point->setAxes(plot_->xAxis, plot_->yAxis);
    line->point1->setCoords(x, 0.0);
    line->point2->setCoords(x, 1.0);

    // The label stands left of its line, inside the section the line closes.
    auto* text = new QCPItemText(plot_);
    text->setText(label);
    text->setColor(colour);
    text->position->setAxes(plot_->xAxis, plot_->yAxis);
    text->position->setAxisRect(plot_->axisRect());
    text->position->setTypeX(QCPItemPosition::ptPlotCoords);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(x, 0.0);
    text->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
    text->setPadding(QMargins(2, 2, 2, 0));

    lines_.append({Qt::Vertical, x, 0, colour, label});
}

QVector<GraphControl::LineInfo> GraphControl::Lines() const
{
    return lines_;
}

void GraphControl::AddBand(double start, double end, const QColor& colour, const QString& label)
{
    // The bands have a layer of their own under the curves, so a shaded zone
    // never hides the deviation it marks.
    const QString layerName = QStringLiteral("bands");
    if (plot_->layer(layerName) == nullptr)
        plot_->addLayer(layerName, plot_->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
    auto* band = new QCPItemRect(plot_);
    band->setLayer(layerName);
    band->setPen(Qt::NoPen);
    band->setBrush(colour);
    band->topLeft->setAxes(plot_->xAxis, plot_->yAxis);
    band->topLeft->setAxisRect(plot_->axisRect());
    band->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
    band->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    band->topLeft->setCoords(start, 0.0);
    band->bottomRight->setAxes(plot_->xAxis, plot_->yAxis);
    band->bottomRight->setAxisRect(plot_->axisRect());
    band->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
    band->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    band->bottomRight->setCoords(end, 1.0);
    bands_.append({start, end});
    bandItems_.append(band);
    if (screenBands_ == nullptr) {
        auto* screen = new ScreenBands(plot_, colour);
        screen->setLayer(layerName);
        screen->setVisible(false);
        screenBands_ = screen;
    }

    if (bandLegend_ == nullptr) {
        // Items have no legend entry; an empty bar chart in the band's colour names them.
        auto* legendEntry = new QCPBars(plot_->xAxis, plot_->yAxis);
        legendEntry->setName(label);
        legendEntry->setPen(Qt::NoPen);
        legendEntry->setBrush(colour);
        bandLegend_ = legendEntry;
    }
}

QVector<GraphControl::BandInfo> GraphControl::Bands() const
{
    return bands_;
}

void GraphControl::SetMarkers(const QVector<QPointF>& points, int axis, const QColor& colour, const QString& label)
{
    if (markers_ == nullptr)
        markers_ = plot_->addGraph(plot_->xAxis, axis == 1 ? plot_->yAxis2 : plot_->yAxis);
    else
        markers_->setValueAxis(axis == 1 ? plot_->yAxis2 : plot_->yAxis);
    markers_->setName(label);
    markers_->setLineStyle(QCPGraph::lsNone);
    markers_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssTriangleInverted, colour, colour, 8));
    QVector<double> keys;
    QVector<double> values;
    for (const QPointF& point : points) {
        keys.append(point.x());
        values.append(point.y());
    }
    markers_->setData(keys, values);
}

QVector<QPointF> GraphControl::Markers() const
{
    QVector<QPointF> points;
    if (markers_ == nullptr)
        return points;
    for (auto it = markers_->data()->constBegin(); it != markers_->data()->constEnd(); ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

void GraphControl::FitFullExtent()
{
    QCPRange xRange;
    QCPRange yRanges[2];
    bool xFound = false;
    bool yFound[2] = {false, false};
    // The full extent is every point's, whatever the screen shows now.
    const FullDataScope allPoints(*this);
    for (std::size_t k = 0; k < graphs_.size(); ++k) {
        bool found = false;
        const QCPRange keys = graphs_[k]->getKeyRange(found);
        if (found)
            Widen(xRange, xFound, keys);
        const QCPRange values = graphs_[k]->getValueRange(found);
        const int axis = subsets_[k].axis == 1 ? 1 : 0;
        if (found)
            Widen(yRanges[axis], yFound[axis], values);
    }
    for (const LineInfo& line : lines_) {
        if (line.orientation == Qt::Vertical)
            Widen(xRange, xFound, QCPRange(line.value, line.value));
        else
            Widen(yRanges[line.axis], yFound[line.axis], QCPRange(line.value, line.value));
    }
    const QCPRange full = Padded(xRange, xFound, 0.0);
    fullStart_ = full.lower;
    fullEnd_ = full.upper;
    plot_->xAxis->setRange(full);
    plot_->yAxis->setRange(Padded(yRanges[0], yFound[0], 0.05));
    plot_->yAxis2->setRange(Padded(yRanges[1], yFound[1], 0.05));
}

void GraphControl::Redraw()
{
    FitFullExtent();
    zoomed_ = false;
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

bool GraphControl::IsZoomed() const
{
    return zoomed_;
}

double GraphControl::ZoomStart() const
{
    return plot_->xAxis->range().lower;
}

double GraphControl::ZoomEnd() const
{
    return plot_->xAxis->range().upper;
}

void GraphControl::SetZoomWindow(double start, double end)
{
    plot_->xAxis->setRange(start, end);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void GraphControl::ZoomTo(double start, double end)
{
    if (!(end > start))
        return;
    SetZoomWindow(start, end);
    zoomed_ = true;
}

void GraphControl::UpdateZoomAfterRubberBand()
{
    const QCPRange now = plot_->xAxis->range();
    if (now.lower != rubberBandStart_ || now.upper != rubberBandEnd_)
        zoomed_ = true;
}

void GraphControl::UndoZoom()
{
    if (!zoomed_)
        return;
    zoomed_ = false;
    SetZoomWindow(fullStart_, fullEnd_);
}

void GraphControl::ZoomAround(double centre, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    const double start = ZoomStart();
    const double end = ZoomEnd();
    const double fullWidth = fullEnd_ - fullStart_;
    if (!(end > start) || !(fullWidth > 0.0))
        return;
    if (!(centre >= start && centre <= end))
        centre = start + (end - start) / 2.0;
    const double width = std::max((end - start) / factor, fullWidth * kNarrowestShare);
    if (width >= fullWidth) {
        zoomed_ = false;
        SetZoomWindow(fullStart_, fullEnd_);
        return;
    }
    // The centre keeps its share of the way across the view.
    const double share = (centre - start) / (end - start);
    const double newStart = std::clamp(centre - share * width, fullStart_, fullEnd_ - width);
    ZoomTo(newStart, newStart + width);
}

void GraphControl::Pan(double share)
{
    const double start = ZoomStart();
    const double width = ZoomEnd() - start;
    if (!(width > 0.0) || !std::isfinite(share))
        return;
    const double newStart = std::clamp(start + share * width, fullStart_, std::max(fullStart_, fullEnd_ - width));
    if (newStart != start)
        SetZoomWindow(newStart, newStart + width);
}

double GraphControl::FullStart() const
{
    return fullStart_;
}

double GraphControl::FullEnd() const
{
    return fullEnd_;
}

QPointF GraphControl::PixelToGraph(const QPoint& pixel) const
{
    return QPointF(plot_->xAxis->pixelToCoord(pixel.x()), plot_->yAxis->pixelToCoord(pixel.y()));
}

void GraphControl::Render(QCPPainter& painter, int width, int height)
{
    const FullDataScope full(*this);
    plot_->toPainter(&painter, width, height);
}

QStringList GraphControl::ExportFilters()
{
    QStringList filters;
    for (const ExportType& type : kExportTypes)
        filters.append(QString::fromLatin1(type.filter));
    return filters;
}

namespace {

/** The export type a file name asks for, or the chosen filter's when its extension names none. */
const ExportType& TypeFor(const QString& fileName, const QString& selectedFilter, bool& extensionAdded)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const ExportType* chosen = nullptr;
    for (const ExportType& type : kExportTypes) {
        if (suffix == QLatin1String(type.extension) || (suffix == QLatin1String("jpeg") && type.format[0] == 'j'))
            chosen = &type;
    }
    extensionAdded = chosen == nullptr;
    if (chosen == nullptr) {
        chosen = &kExportTypes[0];
        for (const ExportType& type : kExportTypes) {
            if (selectedFilter == QLatin1String(type.filter))
                chosen = &type;
        }
    }
    return *chosen;
}

} // namespace

QString GraphControl::ExportFileName(const QString& fileName, const QString& selectedFilter)
{
    bool extensionAdded = false;
    const ExportType& type = TypeFor(fileName, selectedFilter, extensionAdded);
    return extensionAdded ? fileName + QLatin1Char('.') + QLatin1String(type.extension) : fileName;
}

QString GraphControl::ExportImage(const QString& fileName, const QString& selectedFilter)
{
    bool extensionAdded = false;
    const ExportType* chosen = &TypeFor(fileName, selectedFilter, extensionAdded);
    const QString target = ExportFileName(fileName, selectedFilter);

    // A graph that has not been laid out on screen yet is exported at a usual size.
    const bool onScreen = plot_->isVisible() && plot_->width() >= 200 && plot_->height() >= 150;
    const int width = onScreen ? plot_->width() : 1280;
    const int height = onScreen ? plot_->height() : 800;
    const QByteArray format = chosen->format;
    const FullDataScope full(*this);
    bool written = false;
    if (format == "png")
        written = plot_->savePng(target, width, height);
    else if (format == "jpg")
        written = plot_->saveJpg(target, width, height);
    else if (format == "bmp")
        written = plot_->saveBmp(target, width, height);
    else
        written = plot_->savePdf(target, width, height);
    return written ? target : QString();
}

void GraphControl::Export(GraphDialogs& dialogs)
{
    QString filter = ExportFilters().front();
    const QString fileName = dialogs.ChooseExportFile(filter);
    if (fileName.isEmpty())
        return;
    // The save dialog asked about the name as typed; with the extension added the
    // file written is another one, which must not be replaced unasked.
    const QString target = ExportFileName(fileName, filter);
    if (target != fileName && QFileInfo::exists(target) && !dialogs.ConfirmReplace(target))
        return;
    if (ExportImage(fileName, filter).isEmpty())
        dialogs.ShowError(QStringLiteral("File Error!"), QStringLiteral("The graph could not be saved to ") + fileName);
}

QCustomPlot* GraphControl::Plot() const
{
    return plot_;
}

} // namespace zlm
