#include "support/FakeGraphDialogs.h"
#include "support/GraphFixtures.h"
#include "graph/GraphControl.h"
#include "graph/frmSkiPlot.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

using namespace zlm;

namespace {

/** Pages of a PDF written by Qt: its "/Type /Page" objects ("/Type /Pages" is the page tree). */
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int pages = 0;
    for (auto it = page.globalMatch(text); it.hasNext(); it.next())
        ++pages;
    return pages;
}

using Window = QPair<double, double>;

} // namespace

class GraphPrintTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        dialogs_ = FakeGraphDialogs();
        dialogs_.pdfPath = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + ".pdf");
    }

    // The small run's data ends at (N-1)*dx = 11 ft, the paging limit.
    void pageCounts_data()
    {
        QTest::addColumn<double>("zoomWidth"); // 0: not zoomed
        QTest::addColumn<bool>("selection");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("selectionOffered");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<Window>>("windows");
        QTest::newRow("not zoomed") << 0.0 << false << 1 << false << 1 << QList<Window>{};
        QTest::newRow("not zoomed, copies") << 0.0 << false << 3 << false << 3 << QList<Window>{};
        QTest::newRow("zoomed, selection") << 4.0 << true << 1 << true << 1 << QList<Window>{};
        QTest::newRow("zoomed, all") << 4.0 << false << 1 << true << 3
                                     << QList<Window>{{0, 4}, {4, 8}, {8, 12}, {2, 6}};
        QTest::newRow("zoomed, all, copies") << 4.0 << false << 2 << true << 6
                                             << QList<Window>{{0, 4}, {4, 8}, {8, 12}, {0, 4}, {4, 8}, {8, 12}, {2, 6}};
        QTest::newRow("end on the limit")
            << 5.5 << false << 1 << true << 3 << QList<Window>{{0, 5.5}, {5.5, 11}, {11, 16.5}, {2, 7.5}};
        QTest::newRow("as wide as the limit")
            << 11.0 << false << 1 << true << 2 << QList<Window>{{0, 11}, {11, 22}, {2, 13}};
        QTest::newRow("wider than the limit") << 12.0 << false << 1 << true << 1 << QList<Window>{{0, 12}, {2, 14}};
    }

    void pageCounts()
    {
        QFETCH(double, zoomWidth);
        QFETCH(bool, selection);
        QFETCH(int, copies);
        QFETCH(bool, selectionOffered);
        QFETCH(int, pages);
        QFETCH(QList<Window>, windows);
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        GraphControl& graph = *window.Graph();
        if (zoomWidth > 0.0)
            graph.ZoomTo(2.0, 2.0 + zoomWidth);
        const double start = graph.ZoomStart();
        const double end = graph.ZoomEnd();
        dialogs_.chooseSelection = selection;
        dialogs_.copies = copies;

        QList<Window> seen;
        bool busyOnEveryPage = true;
        connect(graph.Plot()->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [&seen, &busyOnEveryPage](const QCPRange& range) {
                    seen.append({range.lower, range.upper});
                    const QCursor* cursor = QGuiApplication::overrideCursor();
                    busyOnEveryPage = busyOnEveryPage && cursor && cursor->shape() == Qt::WaitCursor;
                });
        window.findChild<QPushButton*>("cmdPrint")->click();
        QVERIFY(busyOnEveryPage);
        QVERIFY(!QGuiApplication::overrideCursor()); // the hourglass is gone afterwards

        QCOMPARE(dialogs_.printDialogs, 1);
        QCOMPARE(dialogs_.lastSelectionOffered, selectionOffered);
        QCOMPARE(PdfPageCount(dialogs_.pdfPath), pages);
        QCOMPARE(seen, windows);
        QCOMPARE(graph.ZoomStart(), start);
        QCOMPARE(graph.ZoomEnd(), end);
        QCOMPARE(graph.IsZoomed(), zoomWidth > 0.0);
        QVERIFY(dialogs_.errors.isEmpty());
    }

    void cancelledPrintDialogPrintsNothing()
    {
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        window.Graph()->ZoomTo(3.0, 5.0);
        dialogs_.cancelPrint = true;
        window.findChild<QPushButton*>("cmdPrint")->click();
        QCOMPARE(dialogs_.printDialogs, 1);
        QVERIFY(!QFile::exists(dialogs_.pdfPath));
        QVERIFY(window.Graph()->IsZoomed());
        QCOMPARE(window.Graph()->ZoomStart(), 3.0);
        QCOMPARE(window.Graph()->ZoomEnd(), 5.0);
    }

    void printerThatCannotStartIsReported()
    {
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        dialogs_.pdfPath = dir_.filePath("no such folder/graph.pdf");
        window.findChild<QPushButton*>("cmdPrint")->click();
        QCOMPARE(dialogs_.errors.size(), 1);
    }

    void exportWritesTheChosenType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("png") << "graph.png"
                             << ""
                             << "graph.png";
        QTest::newRow("jpeg by extension") << "graph.JPG"
                                           << "PNG image (*.png)"
                                           << "graph.JPG";
        QTest::newRow("bmp") << "graph.bmp"
                             << ""
                             << "graph.bmp";
        QTest::newRow("no extension, filter") << "graph"
                                              << "JPEG image (*.jpg *.jpeg)"
                                              << "graph.jpg";
        QTest::newRow("pdf") << "graph.pdf"
                             << ""
                             << "graph.pdf";
    }

    void exportWritesTheChosenType()
    {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        QTemporaryDir out;
        dialogs_.exportPath = out.filePath(name);
        dialogs_.exportFilter = filter;
        window.findChild<QPushButton*>("cmdSave")->click();

        QCOMPARE(dialogs_.exportDialogs, 1);
        QVERIFY(dialogs_.errors.isEmpty());
        const QString path = out.filePath(written);
        if (written.endsWith(".pdf")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.read(5) == "%PDF-");
            QCOMPARE(PdfPageCount(path), 1);
        } else {
            const QImage image(path);
            QVERIFY(!image.isNull());
            QVERIFY(image.width() >= 200);
        }
    }

    void cancelledExportWritesNothing()
    {
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        QTemporaryDir out;
        dialogs_.exportPath.clear();
        window.findChild<QPushButton*>("cmdSave")->click();
        QCOMPARE(dialogs_.exportDialogs, 1);
        QVERIFY(QDir(out.path()).isEmpty());
        QVERIFY(dialogs_.errors.isEmpty());
    }

    // A name typed without an extension gets one; a file of that name is replaced
    // only when the user says so.
    void exportAsksBeforeReplacingTheFileWithTheAddedExtension()
    {
        FakeGraphDialogs dialogs;
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs);
        const QString typed = dir_.filePath("kept");
        const QString written = typed + ".png";
        QFile existing(written);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("old");
        existing.close();
        dialogs.exportPath = typed;
        dialogs.exportFilter = GraphControl::ExportFilters().front();

        window.findChild<QPushButton*>("cmdSave")->click();
        QCOMPARE(dialogs.replaceQuestions, QStringList{written});
        QCOMPARE(QFileInfo(written).size(), qint64(3));

        dialogs.replaceExisting = true;
        window.findChild<QPushButton*>("cmdSave")->click();
        QCOMPARE(dialogs.replaceQuestions.size(), 2);
        QVERIFY(QFileInfo(written).size() > 3);
        QVERIFY(dialogs.errors.isEmpty());
    }

    void failedExportIsReported()
    {
        frmSkiPlot window(SmallRun(), "run.erd", nullptr, &dialogs_);
        dialogs_.exportPath = dir_.filePath("no such folder/graph.png");
        window.findChild<QPushButton*>("cmdSave")->click();
        QCOMPARE(dialogs_.errors.size(), 1);
        QVERIFY(dialogs_.errors.front().startsWith("File Error!|"));
    }

private:
    QTemporaryDir dir_;
    FakeGraphDialogs dialogs_;
};

QTEST_MAIN(GraphPrintTest)
#include "GraphPrintTest.moc"

