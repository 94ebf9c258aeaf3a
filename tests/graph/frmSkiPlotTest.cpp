#include "support/FakeGraphDialogs.h"
#include "support/GraphFixtures.h"
#include "graph/GraphControl.h"
#include "graph/frmSkiPlot.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <qcustomplot.h>

using namespace zlm;

namespace {

QString Decimal(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QVector<GraphControl::LineInfo> LinesOf(const GraphControl& graph, Qt::Orientation orientation)
{
    QVector<GraphControl::LineInfo> lines;
    for (const GraphControl::LineInfo& line : graph.Lines()) {
        if (line.orientation == orientation)
            lines.append(line);
    }
    return lines;
}

} // namespace

class frmSkiPlotTest : public QObject {
    Q_OBJECT

private slots:
    void titlesAndLabels_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("profileTitle");
        QTest::addColumn<float>("percent");
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("percentText");
        QTest::newRow("posix path") << "/data/runs/run3.erd"
                                    << "Track Run E1" << 12.5f << "run3.erd"
                                    << "|Track Run E1|"
                                    << "12.50";
        QTest::newRow("windows path") << "C:\\Profiles\\2005\\run3.dat"
                                      << "" << 0.0f << "run3.dat"
                                      << "||"
                                      << "0.00";
        QTest::newRow("no separator") << "run3.dat"
                                      << "A" << 100.0f << "run3.dat"
                                      << "|A|"
                                      << "100.00";
        QTest::newRow("float just below the half") << "x.erd"
                                                   << "A" << 33.335f << "x.erd"
                                                   << "|A|"
                                                   << "33.33";
    }

    void titlesAndLabels()
    {
        QFETCH(QString, caption);
        QFETCH(QString, profileTitle);
        QFETCH(float, percent);
        QFETCH(QString, subtitle);
        QFETCH(QString, line1);
        QFETCH(QString, percentText);
        zlm::SessionState state = SmallRun();
        state.profileTitle = profileTitle.toStdString();
        state.results.overallPercentExceeding = percent;
        FakeGraphDialogs dialogs;
        frmSkiPlot window(state, caption, nullptr, &dialogs);
        const GraphControl& graph = *window.Graph();

        QCOMPARE(window.windowTitle(), QStringLiteral("Deviation Graph"));
        QCOMPARE(graph.MainTitle(), QStringLiteral("16-Foot Evenrule (ZLM)"));
        QCOMPARE(graph.Subtitle(), subtitle);
        QCOMPARE(graph.ExtraTitleLine(0), QStringLiteral("|Threshold Value = 0.25 (in)|"));
        QCOMPARE(graph.ExtraTitleLine(1), line1);
        QCOMPARE(graph.ExtraTitleLine(2),
                 "|Percent Exceeded Threshold (0.25 in) = " + Decimal(qPrintable(percentText)) + "% Overall|");
        QCOMPARE(graph.XAxisLabel(), QStringLiteral("Distance (ft)"));
        QCOMPARE(graph.YAxisLabel(0), QStringLiteral("Deviation From Straightedge (in)"));
        QCOMPARE(graph.YAxisLabel(1), QStringLiteral("Elevation (in)"));
    }

    // Subset 0: the n placements, the padding up to N not drawn; subset 1: the N
    // profile points at m * dx with the elevation in inches, in single precision.
    void subsetsHoldThePlacementsAndTheProfile()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        const GraphControl& graph = *window.Graph();
        QCOMPARE(graph.SubsetCount(), 2);
        QCOMPARE(graph.Subset(0).label, QStringLiteral("ZLM"));
        QCOMPARE(graph.Subset(0).colour, QColor(0, 0, 255));
        QCOMPARE(graph.Subset(0).axis, 0);
        QCOMPARE(graph.Subset(1).label, QStringLiteral("Profile"));
        QCOMPARE(graph.Subset(1).axis, 1);

        QCOMPARE(graph.DrawnPoints(0), (QVector<QPointF>{{0.0, double(0.1f)}, {8.0, double(0.3f)}}));
        const QVector<QPointF> profile = graph.DrawnPoints(1);
        QCOMPARE(profile.size(), 12);
        for (int m = 0; m < 12; ++m)
            QCOMPARE(profile[m], QPointF(m, double(static_cast<float>(m / 100.0 * 12.0))));
    }

    // A run in SI units draws its profile of metres in millimetres, the unit its axis names.
    void siProfileIsDrawnInMillimetres()
    {
        zlm::SessionState state = SmallRun();
        state.results.method.units = zlm::UnitSystem::SI;
        state.units = zlm::UnitTextsFor(zlm::UnitSystem::SI);
        FakeGraphDialogs dialogs;
        frmSkiPlot window(state, "run.erd", nullptr, &dialogs);
        QCOMPARE(window.Graph()->YAxisLabel(1), QStringLiteral("Elevation (mm)"));
        const QVector<QPointF> profile = window.Graph()->DrawnPoints(1);
        QCOMPARE(profile.size(), 12);
        for (int m = 0; m < 12; ++m)
            QCOMPARE(profile[m], QPointF(m, double(static_cast<float>(m / 100.0 * 1000.0))));
    }

    // The threshold line stands at the threshold text read back as a double, so a
    // threshold of 0.1f is drawn at 0.1, not at the float's 0.100000001490116.
    void thresholdLine_data()
    {
        QTest::addColumn<float>("threshold");
        QTest::addColumn<double>("at");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("line0");
        QTest::newRow("0.25") << 0.25f << 0.25 << "0.25"
                              << "|Threshold Value = 0.25 (in)|";
        QTest::newRow("0.1") << 0.1f << 0.1 << "0.1"
                             << "|Threshold Value = 0.1 (in)|";
    }

    void thresholdLine()
    {
        QFETCH(float, threshold);
        QFETCH(double, at);
        QFETCH(QString, label);
        QFETCH(QString, line0);
        zlm::SessionState state = SmallRun();
        state.results.method.tolerance = threshold;
        FakeGraphDialogs dialogs;
        frmSkiPlot window(state, "run.erd", nullptr, &dialogs);
        const auto lines = LinesOf(*window.Graph(), Qt::Horizontal);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].value, at);
        QCOMPARE(lines[0].label, label);
        QCOMPARE(lines[0].colour, QColor(255, 0, 0));
        QCOMPARE(lines[0].axis, 0);
        QCOMPARE(window.Graph()->ExtraTitleLine(0), line0);
    }

    // One black line per section row at S, 2S, ..., the last at the profile's end
    // (N-1)*dx = 11 ft, labelled with the row's share as the table shows it.
    void sectionLines_data()
    {
        QTest::addColumn<float>("sectionLength");
        QTest::addColumn<QList<float>>("percentages");
        QTest::addColumn<QList<double>>("positions");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("placement list") << 0.0f << QList<float>{} << QList<double>{} << QStringList{};
        QTest::newRow("three rows") << 4.0f << QList<float>{10, 20, 30} << QList<double>{4, 8, 11}
                                    << QStringList{"10.0", "20.0", "30.0"};
        QTest::newRow("fractional length") << 2.5f << QList<float>{0, 50} << QList<double>{2.5, 11}
                                           << QStringList{"0.0", "50.0"};
        QTest::newRow("one row") << 100.0f << QList<float>{38.45f} << QList<double>{11} << QStringList{"38.5"};
        QTest::newRow("header only") << 4.0f << QList<float>{} << QList<double>{} << QStringList{};
    }

    void sectionLines()
    {
        QFETCH(float, sectionLength);
        QFETCH(QList<float>, percentages);
        QFETCH(QList<double>, positions);
        QFETCH(QStringList, labels);
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRunWithSections(sectionLength, {percentages.begin(), percentages.end()}), "run.erd",
                          nullptr, &dialogs);
        const auto lines = LinesOf(*window.Graph(), Qt::Vertical);
        QCOMPARE(lines.size(), positions.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].value, positions[i]);
            QCOMPARE(lines[i].label, labels[i]);
            QCOMPARE(lines[i].colour, QColor(0, 0, 0));
        }
    }

    void widgetsCarryTheControlNames()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        QCOMPARE(window.findChild<QPushButton*>("cmdPrint")->text(), QStringLiteral("&Print"));
        QCOMPARE(window.findChild<QPushButton*>("cmdSave")->text(), QStringLiteral("&Save/Export"));
        QCOMPARE(window.findChild<QPushButton*>("cmdUndoZoom")->text(), QStringLiteral("&Undo Zoom"));
        QCOMPARE(window.findChild<QLabel*>("lblx")->text(), QStringLiteral("x="));
        QCOMPARE(window.findChild<QLabel*>("lbly")->text(), QStringLiteral("y="));
        QVERIFY(window.findChild<QLabel*>("lblPoint")->text().isEmpty());
        QVERIFY(window.findChild<QLabel*>("lblPointY")->text().isEmpty());
        QCOMPARE(window.findChild<GraphControl*>("Pesgoa1"), window.Graph());
        QCOMPARE(window.PagingLimit(), 11.0);
    }

    // The load takes over the Plot command's hourglass and restores it once;
    // without one it sets and restores its own.
    void hourglassIsRestored_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("none before") << 0 << 0;
        QTest::newRow("the Plot command's") << 1 << 0;
        QTest::newRow("one more underneath") << 2 << 1;
    }

    void hourglassIsRestored()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        for (int i = 0; i < before; ++i)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        {
            FakeGraphDialogs dialogs;
            frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        }
        int left = 0;
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
            ++left;
        }
        QCOMPARE(left, after);
    }

    // The readout shows the pointer's position on the distance and deviation
    // axes as "###.000".
    void readout_data()
    {
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("deviation");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("quarter") << 12.345 << 0.25 << "12.345"
                                 << ".250";
        QTest::newRow("zero") << 1.0 << 0.0 << "1.000"
                              << ".000";
        QTest::newRow("negative half") << 0.5 << -0.5 << ".500"
                                       << "-.500";
        QTest::newRow("outside the data") << 250.0 << 7.0 << "250.000"
                                          << "7.000";
    }

    void readout()
    {
        QFETCH(double, distance);
        QFETCH(double, deviation);
        QFETCH(QString, x);
        QFETCH(QString, y);
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCustomPlot* plot = window.Graph()->Plot();
        plot->replot();
        // Shift the axes so the chosen pixel lies exactly on the wanted values.
        const QPoint pixel = plot->axisRect()->rect().center();
        plot->xAxis->moveRange(distance - plot->xAxis->pixelToCoord(pixel.x()));
        plot->yAxis->moveRange(deviation - plot->yAxis->pixelToCoord(pixel.y()));

        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        QCOMPARE(window.findChild<QLabel*>("lblPoint")->text(), Decimal(qPrintable(x)));
        QCOMPARE(window.findChild<QLabel*>("lblPointY")->text(), Decimal(qPrintable(y)));
    }

    void undoZoomButton()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        GraphControl& graph = *window.Graph();
        QCOMPARE(graph.ZoomStart(), 0.0);
        QCOMPARE(graph.ZoomEnd(), 11.0);
        auto* undo = window.findChild<QPushButton*>("cmdUndoZoom");

        undo->click();
        QVERIFY(!graph.IsZoomed());
        QCOMPARE(graph.ZoomStart(), 0.0);
        QCOMPARE(graph.ZoomEnd(), 11.0);

        graph.ZoomTo(2.0, 6.0);
        window.findChild<QLabel*>("lblPoint")->setText("4.000");
        undo->click();
        QVERIFY(!graph.IsZoomed());
        QCOMPARE(graph.ZoomStart(), 0.0);
        QCOMPARE(graph.ZoomEnd(), 11.0);
        QCOMPARE(window.findChild<QLabel*>("lblPoint")->text(), QStringLiteral("4.000"));
    }

    // The readout stays at the bottom right whatever the window's size.
    void readoutFollowsTheBottomRightCorner()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        window.setWindowState(Qt::WindowNoState);
        for (const QSize size : {QSize(700, 500), QSize(1100, 800)}) {
            window.resize(size);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QApplication::processEvents();
            const QRect box = window.findChild<QLabel*>("lblPointY")->geometry();
            QVERIFY2(window.width() - box.right() < 20, qPrintable(QString::number(box.right())));
            QVERIFY(window.height() - box.bottom() < 20);
            QVERIFY(window.Graph()->geometry().bottom() < box.top());
        }
    }
};

QTEST_MAIN(frmSkiPlotTest)
#include "frmSkiPlotTest.moc"

