// The graph's decimation: what a pixel column cannot show is dropped, and what
// it shows (its lowest and highest point, the lines to its neighbours, the
// breaks) is exactly the full curve's. And the graph window draws from it on
// screen while printing draws every point.
#include "graph/CurveDecimation.h"

#include "graph/GraphControl.h"

#include <QTest>
#include <qcustomplot.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zlm;

namespace {

struct Extremes {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool operator==(const Extremes&) const = default;
};

/** Each pixel column's lowest and highest value over the points `indices` names. */
std::vector<Extremes> ColumnExtremes(const std::vector<double>& keys, const std::vector<double>& values,
                                     const std::vector<std::size_t>& indices, double start, double end, int columns)
{
    std::vector<Extremes> extremes(static_cast<std::size_t>(columns));
    for (const std::size_t i : indices) {
        const double column = std::floor((keys[i] - start) / ((end - start) / columns));
        if (std::isnan(values[i]) || column < 0 || column >= columns)
            continue;
        Extremes& e = extremes[static_cast<std::size_t>(column)];
        e.low = std::min(e.low, values[i]);
        e.high = std::max(e.high, values[i]);
    }
    return extremes;
}

} // namespace

class CurveDecimationTest : public QObject {
    Q_OBJECT

private slots:
    void keepsEveryColumnsExtremesAndBreaks_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("nanEvery"); // 0: no breaks
        // Keys are 0, 0.1, 0.2, ...
        QTest::newRow("whole curve, many points per column") << 200000 << 0.0 << 19999.9 << 1500 << 0;
        QTest::newRow("window inside the curve") << 200000 << 5000.05 << 6000.0 << 777 << 0;
        QTest::newRow("window boundaries on points") << 100000 << 100.0 << 200.0 << 100 << 0;
        QTest::newRow("breaks in the line") << 100000 << 0.0 << 9999.9 << 640 << 997;
        QTest::newRow("fewer points than columns") << 500 << 0.0 << 49.9 << 1200 << 0;
        QTest::newRow("window beyond the curve") << 1000 << 150.0 << 300.0 << 300 << 0;
        QTest::newRow("one column") << 5000 << 0.0 << 499.9 << 1 << 0;
    }

    void keepsEveryColumnsExtremesAndBreaks()
    {
        QFETCH(int, points);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(int, columns);
        QFETCH(int, nanEvery);
        std::mt19937_64 random(7);
        std::normal_distribution<double> step(0.0, 0.01);
        std::vector<double> keys(static_cast<std::size_t>(points));
        std::vector<double> values(keys.size());
        double walk = 0.0;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keys[i] = 0.1 * static_cast<double>(i);
            walk += step(random);
            const bool gap = nanEvery > 0 && (i % static_cast<std::size_t>(nanEvery) < 3);
            values[i] = gap ? std::numeric_limits<double>::quiet_NaN() : walk;
        }

        const std::vector<std::size_t> kept = DecimatedIndices(keys, values, start, end, columns);
        QVERIFY(std::is_sorted(kept.begin(), kept.end()));
        QVERIFY(std::adjacent_find(kept.begin(), kept.end()) == kept.end());
        // Four points a column, two beyond the window, and a break costs a NaN and splits a column.
        const std::size_t breaks = nanEvery > 0 ? static_cast<std::size_t>(points / nanEvery + 1) : 0;
        QVERIFY(kept.size() <= 4 * static_cast<std::size_t>(columns) + 2 + 5 * breaks);
        if (points > 8 * columns && nanEvery == 0)
            QVERIFY(kept.size() < keys.size() / 2);

        std::vector<std::size_t> all(keys.size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        QVERIFY(ColumnExtremes(keys, values, kept, start, end, columns) ==
                ColumnExtremes(keys, values, all, start, end, columns));

        // The lines to the window's edges: the last point before it and the first after it.
        const auto before = std::lower_bound(keys.begin(), keys.end(), start) - keys.begin() - 1;
        const auto after = std::upper_bound(keys.begin(), keys.end(), end) - keys.begin();
        if (before >= 0)
            QVERIFY(std::binary_search(kept.begin(), kept.end(), static_cast<std::size_t>(before)));
        if (after < points)
            QVERIFY(std::binary_search(kept.begin(), kept.end(), static_cast<std::size_t>(after)));
        // A line is drawn between two kept points only where the full curve has one.
        for (std::size_t k = 1; k < kept.size(); ++k) {
            const bool brokenInFull = std::any_of(values.begin() + static_cast<std::ptrdiff_t>(kept[k - 1]),
                                                  values.begin() + static_cast<std::ptrdiff_t>(kept[k]) + 1,
                                                  [](double v) { return std::isnan(v); });
            const bool brokenKept = std::isnan(values[kept[k - 1]]) || std::isnan(values[kept[k]]);
            QCOMPARE(brokenKept, brokenInFull);
        }
    }

    // On screen the graph draws the decimated points, and again after a zoom; a
    // print draws every point. What the graph reports it draws is every point.
    void screenDrawsTheDecimatedCurveAndPrintingTheFullOne()
    {
        GraphControl graph;
        graph.resize(900, 500);
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        GraphControl::Curve curve{{QStringLiteral("ZLM"), QColor(0, 0, 255), 0}, {}, {}};
        for (int i = 0; i < 300000; ++i) {
            curve.x.push_back(static_cast<float>(i) / 12.0f);
            curve.y.push_back(static_cast<float>(std::sin(i / 50.0)));
        }
        graph.SetData({curve});
        // Bands far apart, and many within one pixel column.
        graph.AddBand(5000.0, 6000.0, QColor(255, 140, 0, 60), QStringLiteral("Exceedance zones"));
        for (int i = 0; i < 200; ++i)
            graph.AddBand(20000.0 + i * 0.01, 20000.0 + i * 0.01 + 0.005, QColor(255, 140, 0, 60), QString());
        graph.Redraw();
        graph.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        // The screen shades the bands, and nothing between them.
        const QImage screen = graph.Plot()->grab().toImage();
        const auto pixelAt = [&](double distance) {
            const QCPAxisRect* area = graph.Plot()->axisRect();
            const int x = static_cast<int>(graph.Plot()->xAxis->coordToPixel(distance));
            return screen.pixelColor(x * screen.width() / graph.Plot()->width(),
                                     (area->top() + 2) * screen.height() / graph.Plot()->height());
        };
        QVERIFY(pixelAt(5500.0) != pixelAt(10000.0));
        QVERIFY(pixelAt(20001.0) != pixelAt(10000.0));
        QCPGraph* plotted = graph.Plot()->graph(0);
        const int columns = graph.Plot()->axisRect()->width();
        QVERIFY(plotted->dataCount() <= 4 * columns + 2);
        QCOMPARE(graph.DrawnPoints(0).size(), qsizetype{300000});

        // Zoomed in to fewer points than columns, every point of the window is drawn,
        // with one either side for the lines to the edges.
        graph.ZoomTo(1000.0, 1010.0);
        graph.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        const int inWindow = static_cast<int>(
            std::count_if(curve.x.begin(), curve.x.end(), [](float x) { return x >= 1000.0f && x <= 1010.0f; }));
        QCOMPARE(graph.Plot()->graph(0)->dataCount(), inWindow + 2);

        graph.UndoZoom();
        graph.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        QVERIFY(graph.Plot()->graph(0)->dataCount() <= 4 * columns + 2);
        QImage page(1200, 800, QImage::Format_ARGB32);
        QCPPainter painter(&page);
        int drawnWhileRendering = 0;
        int bandsWhileRendering = 0;
        connect(graph.Plot(), &QCustomPlot::afterLayout, &graph, [&] {
            drawnWhileRendering = graph.Plot()->graph(0)->dataCount();
            for (int i = 0; i < graph.Plot()->itemCount(); ++i)
                bandsWhileRendering +=
                    qobject_cast<QCPItemRect*>(graph.Plot()->item(i)) != nullptr && graph.Plot()->item(i)->visible();
        });
        graph.Render(painter, 1200, 800);
        painter.end();
        QCOMPARE(drawnWhileRendering, 300000);
        // A print draws every band's own rectangle.
        QCOMPARE(bandsWhileRendering, 201);
    }
};

QTEST_MAIN(CurveDecimationTest)
#include "CurveDecimationTest.moc"
