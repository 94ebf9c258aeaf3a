// The deviation graph's exceedance zones: shaded bands, the supports of each
// zone's worst placement on the profile, and zooming to a zone.

#include "analysis/CorrectionZones.h"
#include "analysis/ProgressSink.h"
#include "commands/SimulateCommand.h"
#include "graph/GraphControl.h"
#include "graph/frmSkiPlot.h"
#include "support/FakeGraphDialogs.h"
#include "support/ProfileMaker.h"

#include <QPushButton>
#include <QTest>
#include <qcustomplot.h>

using namespace zlm;

namespace {

/** Two dips 100 ft apart on 200 ft of level road at 0.25 ft: two zones. */
SessionState TwoZoneRun()
{
    SessionState state;
    state.profile = test::LevelProfile(801, 0.25, {{16, 0.05}, {416, 0.08}});
    NullProgress progress;
    if (!RunSimulation(state, "", progress).ran)
        qFatal("the run was refused");
    return state;
}

QStringList LegendNames(const GraphControl& graph)
{
    QStringList names;
    QCPLegend* legend = graph.Plot()->legend;
    for (int i = 0; i < legend->itemCount(); ++i) {
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(legend->item(i)))
            names.append(item->plottable()->name());
    }
    return names;
}

} // namespace

class frmSkiPlotZonesTest : public QObject {
    Q_OBJECT

private slots:
    void zonesAreBandsBehindTheCurvesWithTheirSupportsMarked()
    {
        const SessionState state = TwoZoneRun();
        const CorrectionSummary& zones = state.straightedge.results.zones;
        QCOMPARE(zones.zones.size(), std::size_t(2));
        FakeGraphDialogs dialogs;
        frmSkiPlot plot(state, "/roads/test.erd", nullptr, &dialogs);
        GraphControl* graph = plot.Graph();

        const QVector<GraphControl::BandInfo> bands = graph->Bands();
        QCOMPARE(bands.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(bands[i].start, zones.zones[i].start);
            QCOMPARE(bands[i].end, zones.zones[i].end);
        }
        // The markers stand on the profile curve at the supports, in its unit.
        QVector<QPointF> expected;
        for (const CorrectionZone& zone : zones.zones) {
            for (const std::int32_t point : {zone.leftSupport, zone.rightSupport})
                expected.append(QPointF(static_cast<float>(point * 0.25),
                                        static_cast<float>(state.workingElevations[point] * 12.0)));
        }
        QCOMPARE(graph->Markers(), expected);
        const QVector<QPointF> profile = graph->DrawnPoints(1);
        for (const QPointF& marker : expected)
            QVERIFY(profile.contains(marker));

        QCOMPARE(LegendNames(*graph),
                 (QStringList{"ZLM", "Profile", "Exceedance zones", "Supports of worst placement"}));
        // Behind the curves: the bands' layer is drawn before the curves'.
        QCPLayer* bandsLayer = graph->Plot()->layer("bands");
        QVERIFY(bandsLayer != nullptr);
        QVERIFY(bandsLayer->index() < graph->Plot()->graph(0)->layer()->index());
        // The markers do not widen the graph: it spans the profile.
        QCOMPARE(graph->ZoomStart(), 0.0);
        QCOMPARE(graph->ZoomEnd(), 200.0);
    }

    void aRunWithoutZonesAddsNothing()
    {
        SessionState state;
        state.profile = test::LevelProfile(129, 0.25);
        NullProgress progress;
        QVERIFY(RunSimulation(state, "", progress).ran);
        FakeGraphDialogs dialogs;
        frmSkiPlot plot(state, "/roads/level.erd", nullptr, &dialogs);
        QVERIFY(plot.Graph()->Bands().isEmpty());
        QCOMPARE(LegendNames(*plot.Graph()), (QStringList{"ZLM", "Profile"}));
    }

    void zoomingToAZoneCanBeUndone()
    {
        const SessionState state = TwoZoneRun();
        FakeGraphDialogs dialogs;
        frmSkiPlot plot(state, "/roads/test.erd", nullptr, &dialogs);
        plot.ZoomToDistance(96.0, 124.0);
        QVERIFY(plot.Graph()->IsZoomed());
        QCOMPARE(plot.Graph()->ZoomStart(), 96.0);
        QCOMPARE(plot.Graph()->ZoomEnd(), 124.0);
        plot.findChild<QPushButton*>("cmdUndoZoom")->click();
        QVERIFY(!plot.Graph()->IsZoomed());
        QCOMPARE(plot.Graph()->ZoomEnd(), 200.0);
    }
};

QTEST_MAIN(frmSkiPlotZonesTest)
#include "frmSkiPlotZonesTest.moc"
