#include "graph/frmSkiPlot.h"

#include "graph/GraphControl.h"
#include "support/FakeGraphDialogs.h"
#include "support/GraphFixtures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <qcustomplot.h>

using namespace zlm;

namespace {

QString Decimal(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

/** Shows the window and makes it the active one, so that its keys work. */
bool ShowActive(QWidget& window)
{
    window.setWindowState(Qt::WindowNoState);
    window.resize(900, 600);
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

/** Presses the keys named in `keys` ("+ Right Home", ...) where the focus is. */
void PressKeys(QWidget& window, const QString& keys)
{
    const QMap<QString, QPair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {"+", {Qt::Key_Plus, Qt::NoModifier}},        {"=", {Qt::Key_Equal, Qt::NoModifier}},
        {"kp+", {Qt::Key_Plus, Qt::KeypadModifier}},  {"-", {Qt::Key_Minus, Qt::NoModifier}},
        {"kp-", {Qt::Key_Minus, Qt::KeypadModifier}}, {"Left", {Qt::Key_Left, Qt::NoModifier}},
        {"Right", {Qt::Key_Right, Qt::NoModifier}},   {"Home", {Qt::Key_Home, Qt::NoModifier}},
        {"Ctrl+Z", {Qt::Key_Z, Qt::ControlModifier}}, {"Ctrl+P", {Qt::Key_P, Qt::ControlModifier}},
        {"Ctrl+S", {Qt::Key_S, Qt::ControlModifier}}, {"F1", {Qt::Key_F1, Qt::NoModifier}}};
    for (const QString& key : keys.split(' ', Qt::SkipEmptyParts)) {
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
        QTest::keyClick(target, named.value(key).first, named.value(key).second);
    }
}

/** Moves the pointer over the plot to distance `x`, as the readout records it; returns the distance read. */
double PointAt(GraphControl& graph, double x)
{
    QCustomPlot* plot = graph.Plot();
    const QPoint pixel(qRound(plot->xAxis->coordToPixel(x)), plot->axisRect()->rect().center().y());
    QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot->mapToGlobal(QPointF(pixel)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    return graph.PixelToGraph(pixel).x();
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
        state.straightedge.results.overallPercentExceeding = percent;
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
        state.straightedge.results.method.units = zlm::UnitSystem::SI;
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
        state.straightedge.results.method.tolerance = threshold;
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
        QTest::newRow("fractional length")
            << 2.5f << QList<float>{0, 50} << QList<double>{2.5, 11} << QStringList{"0.0", "50.0"};
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

    // The keys work wherever the focus is in the window (here on a button, which
    // would otherwise take the arrows). The small run's full extent is 0 to 11 ft.
    void zoomAndPanKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<bool>("zoomed");
        QTest::newRow("+ halves the view around its middle") << "+" << 2.75 << 8.25 << true;
        QTest::newRow("= is + without Shift") << "=" << 2.75 << 8.25 << true;
        QTest::newRow("keypad +") << "kp+" << 2.75 << 8.25 << true;
        QTest::newRow("+ + ") << "+ +" << 4.125 << 6.875 << true;
        QTest::newRow("- undoes +") << "+ -" << 0.0 << 11.0 << false;
        QTest::newRow("keypad - undoes +") << "+ kp-" << 0.0 << 11.0 << false;
        QTest::newRow("- never goes past the profile") << "-" << 0.0 << 11.0 << false;
        QTest::newRow("- after + + goes back a step") << "+ + -" << 2.75 << 8.25 << true;
        QTest::newRow("Right moves a quarter") << "+ Right" << 4.125 << 9.625 << true;
        QTest::newRow("Left moves a quarter back") << "+ Right Left" << 2.75 << 8.25 << true;
        QTest::newRow("Right stops at the profile's end") << "+ Right Right Right" << 5.5 << 11.0 << true;
        QTest::newRow("Left stops at its start") << "+ Left Left Left" << 0.0 << 5.5 << true;
        QTest::newRow("nothing to move unzoomed") << "Right Left" << 0.0 << 11.0 << false;
        QTest::newRow("- at the end stays inside") << "+ + Right Right Right Right -" << 5.5 << 11.0 << true;
        QTest::newRow("Home is Undo Zoom") << "+ Right Home" << 0.0 << 11.0 << false;
        QTest::newRow("Ctrl+Z as well") << "+ Ctrl+Z" << 0.0 << 11.0 << false;
    }

    void zoomAndPanKeys()
    {
        QFETCH(QString, keys);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(bool, zoomed);
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        QVERIFY(ShowActive(window));
        window.findChild<QPushButton*>("cmdPrint")->setFocus();
        PressKeys(window, keys);
        const GraphControl& graph = *window.Graph();
        QCOMPARE(graph.ZoomStart(), start);
        QCOMPARE(graph.ZoomEnd(), end);
        QCOMPARE(graph.IsZoomed(), zoomed);
        QCOMPARE(dialogs.printDialogs + dialogs.exportDialogs, 0);
    }

    // With a readout, + and - keep the readout's distance where it is on the
    // screen; a readout left outside the view counts as none.
    void zoomAroundTheReadout()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        QVERIFY(ShowActive(window));
        GraphControl& graph = *window.Graph();
        graph.Plot()->replot();
        const double at = PointAt(graph, 2.0);
        QVERIFY(qAbs(at - 2.0) < 0.1);
        const auto shareOf = [&graph](double x) {
            return (x - graph.ZoomStart()) / (graph.ZoomEnd() - graph.ZoomStart());
        };
        const double share = shareOf(at);
        PressKeys(window, "+ +");
        QVERIFY(graph.IsZoomed());
        QCOMPARE(graph.ZoomEnd() - graph.ZoomStart(), 2.75);
        QVERIFY(qAbs(shareOf(at) - share) < 1e-12);
        PressKeys(window, "-");
        QCOMPARE(graph.ZoomEnd() - graph.ZoomStart(), 5.5);
        QVERIFY(qAbs(shareOf(at) - share) < 1e-12);

        // Moved away from the readout, the view zooms around its middle.
        PressKeys(window, "Right Right Right Right");
        QCOMPARE(graph.ZoomStart(), 5.5);
        PressKeys(window, "+");
        QCOMPARE(graph.ZoomStart(), 6.875);
        QCOMPARE(graph.ZoomEnd(), 9.625);
    }

    // Print, export and the guide keep their keys.
    void commandKeys()
    {
        FakeGraphDialogs dialogs;
        dialogs.cancelPrint = true;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        QSignalSpy help(&window, &frmSkiPlot::HelpRequested);
        QVERIFY(ShowActive(window));
        PressKeys(window, "Ctrl+P");
        QCOMPARE(dialogs.printDialogs, 1);
        PressKeys(window, "Ctrl+S");
        QCOMPARE(dialogs.exportDialogs, 1);
        QCOMPARE(help.count(), 0);
        PressKeys(window, "F1");
        QCOMPARE(help.count(), 1);
    }

    // The commands and the readout fit their texts in a large font.
    void textFitsInALargeFont()
    {
        QFont large = QApplication::font();
        large.setPointSize(20);
        QApplication::setFont(large);
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        QApplication::setFont(QFont());
        QVERIFY(ShowActive(window));
        for (const char* name : {"cmdPrint", "cmdSave", "cmdUndoZoom"}) {
            auto* button = window.findChild<QPushButton*>(name);
            QVERIFY2(button->width() >= button->sizeHint().width(), name);
            QVERIFY2(button->height() >= button->sizeHint().height(), name);
        }
        for (const char* name : {"lblx", "lbly", "lblPoint", "lblPointY"}) {
            auto* box = window.findChild<QLabel*>(name);
            const QString widest = box->text().isEmpty() ? QStringLiteral("-000000.000") : box->text();
            QVERIFY2(box->contentsRect().width() >= box->fontMetrics().horizontalAdvance(widest), name);
            QVERIFY2(box->contentsRect().height() >= box->fontMetrics().height(), name);
        }
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
