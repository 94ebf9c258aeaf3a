#include "graph/GraphPrinting.h"
#include "graph/GraphControl.h"

#include <QTest>

#include <limits>
#include <qcustomplot.h>

#include <cmath>

using namespace zlm;

class GraphControlTest : public QObject {
    Q_OBJECT

private slots:
    void splitTitleLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("centre");
        QTest::addColumn<QString>("right");
        QTest::newRow("centred") << "|Threshold Value = 0.25 (in)|"
                                 << ""
                                 << "Threshold Value = 0.25 (in)"
                                 << "";
        QTest::newRow("three parts") << "L|C|R"
                                     << "L"
                                     << "C"
                                     << "R";
        QTest::newRow("empty centre") << "||"
                                      << ""
                                      << ""
                                      << "";
        QTest::newRow("bar inside the centre") << "|Run|A|"
                                               << ""
                                               << "Run|A"
                                               << "";
        QTest::newRow("no bar") << "plain"
                                << ""
                                << "plain"
                                << "";
        QTest::newRow("one bar") << "x|y"
                                 << "x"
                                 << ""
                                 << "y";
    }

    void splitTitleLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, left);
        QFETCH(QString, centre);
        QFETCH(QString, right);
        const GraphControl::TitleParts parts = GraphControl::SplitTitleLine(text);
        QCOMPARE(parts.left, left);
        QCOMPARE(parts.centre, centre);
        QCOMPARE(parts.right, right);
    }

    void plainDecimalText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("text");
        QTest::newRow("threshold") << 0.25 << true << "0.25";
        QTest::newRow("0.1 as float") << 0.1 << true << "0.1";
        QTest::newRow("0.3 as float") << 0.3 << true << "0.3";
        QTest::newRow("small, no exponent") << 0.00001 << true << "0.00001";
        QTest::newRow("straightedge") << 16.0 << false << "16";
        QTest::newRow("half") << 2.5 << false << "2.5";
    }

    void plainDecimalText()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, text);
        const std::string actual = single ? PlainDecimalText(static_cast<float>(value)) : PlainDecimalText(value);
        QCOMPARE(QString::fromStdString(actual), text);
    }

    // A NaN value breaks the line: the points either side are drawn, not joined.
    void nanBreaksTheLine()
    {
        GraphControl graph;
        const float gap = std::numeric_limits<float>::quiet_NaN();
        graph.SetData({{{"A", Qt::blue, 0}, {0.0f, 1.0f, 2.0f, 4.0f, 7.0f}, {1.0f, 2.0f, gap, 3.0f, 5.0f}}});

        QCOMPARE(graph.DrawnPoints(0), (QVector<QPointF>{{0, 1}, {1, 2}, {4, 3}, {7, 5}}));
        const auto data = graph.Plot()->graph(0)->data();
        int breaks = 0;
        for (auto it = data->constBegin(); it != data->constEnd(); ++it)
            breaks += std::isnan(it->value) ? 1 : 0;
        QCOMPARE(breaks, 1);
    }

    void curvesKeepTheirOwnPointsAndAxes()
    {
        GraphControl graph;
        graph.SetData({{{"ZLM", Qt::blue, 0}, {0, 8}, {0.1f, 0.3f}},
                       {{"Profile", Qt::gray, 1}, {0, 1, 2}, {5, 6}}});
        QCOMPARE(graph.SubsetCount(), 2);
        QCOMPARE(graph.Subset(1).label, QStringLiteral("Profile"));
        QCOMPARE(graph.DrawnPoints(0), (QVector<QPointF>{{0, 0.1f}, {8, 0.3f}}));
        // A curve ends with the shorter of its coordinate lists.
        QCOMPARE(graph.DrawnPoints(1), (QVector<QPointF>{{0, 5}, {1, 6}}));
        QCOMPARE(graph.Plot()->graph(1)->valueAxis(), graph.Plot()->yAxis2);
    }

    // The full extent covers the data and the lines, so the threshold stays in
    // view when every deviation is below it.
    void fullExtentShowsTheLines()
    {
        GraphControl graph;
        graph.SetData({{{"ZLM", Qt::blue, 0}, {0, 8, 16}, {0.05f, 0.1f, 0.02f}}});
        graph.AddHorizontalLine(0.25, 0, Qt::red, "0.25");
        graph.AddVerticalLine(20.0, Qt::black, "12.5");
        graph.Redraw();
        QVERIFY(graph.Plot()->yAxis->range().contains(0.25));
        QVERIFY(graph.Plot()->yAxis->range().contains(0.02));
        QCOMPARE(graph.ZoomStart(), 0.0);
        QCOMPARE(graph.ZoomEnd(), 20.0);
    }

    void lineLabelsShowWithoutTheirCode()
    {
        GraphControl graph;
        graph.AddHorizontalLine(0.25, 0, Qt::red, "0.25");
        graph.AddVerticalLine(100.0, Qt::black, "38.5");
        QCOMPARE(graph.Plot()->itemCount(), 4);
        QStringList texts;
        for (int i = 0; i < graph.Plot()->itemCount(); ++i) {
            if (auto* text = qobject_cast<QCPItemText*>(graph.Plot()->item(i)))
                texts.append(text->text());
        }
        QCOMPARE(texts, (QStringList{"0.25", "38.5"}));
    }

    void zoomAndUndo()
    {
        GraphControl graph;
        graph.SetData({{{"A", Qt::blue, 0}, {0, 10}, {0, 1}}});
        graph.Redraw();
        QVERIFY(!graph.IsZoomed());

        // Undo on a graph that is not zoomed leaves even a moved window alone.
        graph.SetZoomWindow(3.0, 4.0);
        graph.UndoZoom();
        QCOMPARE(graph.ZoomStart(), 3.0);
        QCOMPARE(graph.ZoomEnd(), 4.0);

        graph.ZoomTo(2.0, 5.0);
        QVERIFY(graph.IsZoomed());
        QCOMPARE(graph.ZoomStart(), 2.0);
        graph.UndoZoom();
        QVERIFY(!graph.IsZoomed());
        QCOMPARE(graph.ZoomStart(), 0.0);
        QCOMPARE(graph.ZoomEnd(), 10.0);

        // A window without width is no zoom.
        graph.ZoomTo(5.0, 5.0);
        QVERIFY(!graph.IsZoomed());
    }

    // The user's rubber band zooms the distance axis only and sets the flag; a
    // click without a drag does not zoom.
    void rubberBandZoomsAlongTheDistanceAxis()
    {
        GraphControl graph;
        graph.resize(800, 500);
        graph.SetData({{{"A", Qt::blue, 0}, {0, 100}, {-1, 1}}});
        graph.Redraw();
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        QCustomPlot* plot = graph.Plot();
        plot->replot();
        const QRect area = plot->axisRect()->rect();
        const QCPRange valuesBefore = plot->yAxis->range();
        const QPoint from(area.left() + area.width() / 4, area.center().y());
        const QPoint to(area.left() + area.width() / 2, area.center().y() + 40);

        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, from);
        QVERIFY(!graph.IsZoomed());

        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), plot->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);

        QVERIFY(graph.IsZoomed());
        QVERIFY(std::abs(graph.ZoomStart() - 25.0) < 1.0);
        QVERIFY(std::abs(graph.ZoomEnd() - 50.0) < 1.0);
        QCOMPARE(plot->yAxis->range().lower, valuesBefore.lower);
        QCOMPARE(plot->yAxis->range().upper, valuesBefore.upper);
    }
};

QTEST_MAIN(GraphControlTest)
#include "GraphControlTest.moc"

