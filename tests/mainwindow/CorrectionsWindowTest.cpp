// The corrections window: its list of zones, sorting, copying, saving and
// opening a zone on the graph; and the main window's Corrections command.

#include "mainwindow/CorrectionsWindow.h"

#include "analysis/ProgressSink.h"
#include "commands/CorrectionsWriter.h"
#include "commands/SimulateCommand.h"
#include "mainwindow/frmSkiMain.h"
#include "support/ProfileMaker.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using zlm::CorrectionsWindow;
using zlm::test::FakeUserDialogs;

namespace {

QString Decimal(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

/**
 * 200 ft at 0.25 ft: a dip at 4 ft under the first placement (0.6 in), a sag
 * 30 ft long centred at 50 ft under the placements at 32, 40 and 48 ft (0.4096 in
 * at most), a dip at 120 ft under the placement at 112 ft (0.96 in). Zones
 * 0-16, 32-64 and 112-128 ft.
 */
zlm::SessionState ThreeZoneRun()
{
    zlm::SessionState state;
    state.profile = zlm::test::LevelProfile(801, 0.25, {{16, 0.05}, {480, 0.08}});
    for (int i = 140; i <= 260; ++i)
        state.profile.elevations[static_cast<std::size_t>(i)] -= 0.12 * (1.0 - (i - 200) * (i - 200) / 3600.0);
    zlm::NullProgress progress;
    const zlm::SimulationOutcome outcome = zlm::RunSimulation(state, "", progress);
    if (!outcome.ran)
        qFatal("the run was refused: %s", outcome.refusal.c_str());
    return state;
}

QStringList Column(const QTableView& view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts.append(view.model()->index(row, column).data().toString());
    return texts;
}

} // namespace

class CorrectionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheZones()
    {
        const zlm::SessionState state = ThreeZoneRun();
        FakeUserDialogs dialogs;
        CorrectionsWindow window(state, "/roads/test.erd", dialogs);
        QTableView* view = window.View();
        QCOMPARE(view->model()->rowCount(), 3);
        QCOMPARE(view->model()->columnCount(), 10);
        QCOMPARE(view->model()->headerData(5, Qt::Horizontal).toString(), QString("Worst Dev. (in)"));
        QCOMPARE(view->model()->headerData(9, Qt::Horizontal).toString(), QString("Low Point (ft)"));
        QCOMPARE(Column(*view, 0), (QStringList{"1", "2", "3"}));
        QCOMPARE(Column(*view, 1), (QStringList{Decimal("0.0000"), Decimal("32.0000"), Decimal("112.0000")}));
        QCOMPARE(Column(*view, 2), (QStringList{Decimal("16.0000"), Decimal("64.0000"), Decimal("128.0000")}));
        QCOMPARE(Column(*view, 4), (QStringList{"1", "3", "1"}));
        QCOMPARE(Column(*view, 5), (QStringList{Decimal("0.6000"), Decimal("0.4096"), Decimal("0.9600")}));
        // Of the equal worst deviations at 40 and 48 ft, the first.
        QCOMPARE(Column(*view, 6), (QStringList{Decimal("0.0000"), Decimal("40.0000"), Decimal("112.0000")}));
        // The low point is the dip itself.
        QCOMPARE(Column(*view, 9), (QStringList{Decimal("4.0000"), Decimal("48.0000"), Decimal("120.0000")}));
        QCOMPARE(window.SummaryLine(), QString("Zones: 3    Total Length: %1 ft    Percent Defective Length = %2%")
                                           .arg(Decimal("64.0000"), Decimal("32.00")));
    }

    void sortsByValue_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("zones");
        // As text, "32.0000" would come before "112.0000" in descending order.
        QTest::newRow("start descending") << 1 << int(Qt::DescendingOrder) << QStringList{"3", "2", "1"};
        QTest::newRow("deviation ascending") << 5 << int(Qt::AscendingOrder) << QStringList{"2", "1", "3"};
        QTest::newRow("placements descending") << 4 << int(Qt::DescendingOrder) << QStringList{"2", "1", "3"};
    }

    void sortsByValue()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(QStringList, zones);
        const zlm::SessionState state = ThreeZoneRun();
        FakeUserDialogs dialogs;
        CorrectionsWindow window(state, "/roads/test.erd", dialogs);
        window.View()->sortByColumn(column, static_cast<Qt::SortOrder>(order));
        QCOMPARE(Column(*window.View(), 0), zones);
    }

    void copiesTheSelectedRowsAsShown()
    {
        const zlm::SessionState state = ThreeZoneRun();
        FakeUserDialogs dialogs;
        CorrectionsWindow window(state, "/roads/test.erd", dialogs);
        QTableView* view = window.View();
        view->sortByColumn(1, Qt::DescendingOrder);
        view->selectionModel()->select(view->model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->selectionModel()->select(view->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        const QStringList lines = copied.split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].split('\t').size(), 10);
        QVERIFY(lines[0].startsWith(QString("3\t") + Decimal("112.0000") + "\t"));
        QVERIFY(lines[1].startsWith(QString("1\t") + Decimal("0.0000") + "\t"));
        QVERIFY(lines[1].endsWith(QString("\t") + Decimal("4.0000")));
    }

    void savesTheCorrectionsFile()
    {
        const zlm::SessionState state = ThreeZoneRun();
        QTemporaryDir dir;
        FakeUserDialogs dialogs;
        CorrectionsWindow window(state, "/roads/test.erd", dialogs);
        const QByteArray expected = QByteArray::fromStdString(zlm::CorrectionsText(window.Zones(), state.units));
        QVERIFY(expected.contains("\r\n3,112.0000,128.0000,16.0000,1,0.9600,112.0000,"));

        dialogs.saveAnswer = dir.filePath("zones"); // ".csv" is added
        window.findChild<QPushButton*>("cmdSaveAs")->click();
        QCOMPARE(dialogs.saveAsked, 1);
        QCOMPARE(zlm::test::ReadFile(dir.filePath("zones.csv")), expected);
        QVERIFY(dialogs.messages.empty());

        // The dialog confirmed "zones", not the existing "zones.csv": asked, and kept on No.
        zlm::test::WriteFile(dir.filePath("zones.csv"), "keep");
        dialogs.messageAnswer = QMessageBox::No;
        window.cmdSaveAs_Click();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(zlm::test::ReadFile(dir.filePath("zones.csv")), QByteArray("keep"));

        dialogs.saveAnswer = dir.filePath("missing/zones.csv");
        window.cmdSaveAs_Click();
        QCOMPARE(dialogs.messages.size(), std::size_t(2));
        QCOMPARE(dialogs.messages[1].title, QString("File Error!"));
        QVERIFY(dialogs.messages[1].text.contains("missing/zones.csv"));
        QCOMPARE(dialogs.messages[1].icon, QMessageBox::Warning);
    }

    void aZoneOpensTheGraphAroundIt()
    {
        const zlm::SessionState state = ThreeZoneRun();
        FakeUserDialogs dialogs;
        CorrectionsWindow window(state, "/roads/test.erd", dialogs);
        QList<std::pair<double, double>> opened;
        window.SetZoneGraphOpener([&](double start, double end) { opened.append({start, end}); });
        QTableView* view = window.View();
        view->sortByColumn(5, Qt::AscendingOrder); // zone 2 first
        view->setCurrentIndex(view->model()->index(0, 3));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0], (std::pair<double, double>{24.0, 72.0})); // a quarter of 32 ft either side

        // Kept within the profile at both ends.
        QCOMPARE(CorrectionsWindow::ZoneViewRange(window.Zones().zones[0], 200.0),
                 (std::pair<double, double>{0.0, 20.0}));
        zlm::CorrectionZone last;
        last.start = 180.0;
        last.end = 200.0;
        last.length = 20.0;
        QCOMPARE(CorrectionsWindow::ZoneViewRange(last, 200.0), (std::pair<double, double>{175.0, 200.0}));
    }

    void mainWindowOffersCorrectionsExactlyWithPlot()
    {
        QTemporaryDir dir;
        const QString road = dir.filePath("road.erd");
        zlm::test::WriteFile(road, zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)));
        FakeUserDialogs dialogs;
        zlm::frmSkiMain window(&dialogs);
        auto* plot = window.findChild<QPushButton*>("cmdPlot");
        auto* corrections = window.findChild<QPushButton*>("cmdCorrections");
        QVERIFY(corrections != nullptr);
        QVERIFY(!corrections->isEnabled());
        window.OpenProfile(road);
        QVERIFY(!corrections->isEnabled());
        QVERIFY(zlm::test::SimulateAndWait(window));
        QVERIFY(plot->isEnabled());
        QVERIFY(corrections->isEnabled());

        QString title;
        int rows = -1;
        zlm::test::WhenModalOpens([&](QWidget* modal) {
            title = modal->windowTitle();
            if (auto* list = modal->findChild<QTableView*>("tblZones"))
                rows = list->model()->rowCount();
            modal->close();
        });
        corrections->click();
        QCOMPARE(title, QString("Corrections"));
        QCOMPARE(rows, 1); // dips every 24 ft leave no sound road between them: one zone

        window.OpenProfile(road);
        QVERIFY(!plot->isEnabled());
        QVERIFY(!corrections->isEnabled());
    }
};

QTEST_MAIN(CorrectionsWindowTest)
#include "CorrectionsWindowTest.moc"
