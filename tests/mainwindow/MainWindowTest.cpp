// The main window: start-up, the open command, the section option, the small
// behaviours (pointer reset, the guide's link, accelerators, focus) and shutdown.

#include "mainwindow/HelpWindow.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/frmSkiMain.h"
#include "profile_input/PathText.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <functional>
#include <map>

using zlm::frmSkiMain;
using zlm::test::FakeUserDialogs;

namespace {

template <typename T> T* Child(const QWidget& window, const char* name)
{
    T* child = window.findChild<T*>(name);
    if (child == nullptr) {
        qFatal("no control named %s", name);
    }
    return child;
}

QString Cell(const frmSkiMain& window, int row, int col)
{
    return QString::fromStdString(window.Grid().TextMatrix(row, col));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startUpState();
    void columnWidthRule();
    void openOutcomes_data();
    void openOutcomes();
    void openAsksTheChannel();
    void cancelledChannelChangesNothing();
    void channelWindowShowsTheNames();
    void delimitedUnitsAreAsked();
    void droppedFileOpens();
    void browseStartsInTheLastFolder();
    void sectionOption();
    void accelerators_data();
    void accelerators();
    void mouseMovementResetsThePointer();
    void guideOpens_data();
    void guideOpens();
    void focusReturnsToTheCommand_data();
    void focusReturnsToTheCommand();
    void closeDeletesResultsTmp_data();
    void closeDeletesResultsTmp();
    void hundredThousandRowsScroll();

private:
    QTemporaryDir dir_;
    QString one_;
    QString two_;
};

void MainWindowTest::init()
{
    QVERIFY(dir_.isValid());
    one_ = dir_.filePath("first.erd");
    two_ = dir_.filePath("second.erd");
    zlm::test::WriteFile(one_, zlm::test::ErdText("First road", 0.25, zlm::test::BumpyRoad(400)));
    zlm::test::WriteFile(two_, zlm::test::ErdText("Second road", 0.5, zlm::test::BumpyRoad(100)));
}

void MainWindowTest::startUpState()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    QCOMPARE(window.objectName(), QString("frmSkiMain"));
    QCOMPARE(window.windowTitle(), QString("Evenrule (ZLM)"));
    QCOMPARE(Child<QLabel>(window, "Label3")->text(), QString("Which pavement profile would you like to examine?"));
    QCOMPARE(Child<QPushButton>(window, "cmdOpen")->text(), QString("&Browse"));
    QCOMPARE(Child<QPushButton>(window, "cmdSimulate")->text(), QString("&Simulate"));
    QCOMPARE(Child<QPushButton>(window, "cmdAbout")->text(), QString("&About"));
    QCOMPARE(Child<QPushButton>(window, "cmdSaveAs")->text(), QString("Sa&ve As..."));
    QCOMPARE(Child<QPushButton>(window, "cmdPlot")->text(), QString("&Plot"));
    QCOMPARE(Child<QCheckBox>(window, "chkSection")->text(), QString("Display Percent Exceeding Threshold"));
    QVERIFY(!Child<QCheckBox>(window, "chkSection")->isChecked());
    QCOMPARE(Child<QLabel>(window, "lblSectionLength")->text(), QString("Section &Length:"));
    QCOMPARE(Child<QLabel>(window, "lblSectionLength")->buddy(), Child<QWidget>(window, "txtSectionLength"));
    QCOMPARE(Child<QLabel>(window, "lblSectionFormat")->text(), QString("ft."));
    QCOMPARE(Child<QLabel>(window, "Label2")->text(), QString("User Guide (F1)"));
    QVERIFY(!Child<QLabel>(window, "Label1")->text().isEmpty());
    QVERIFY(Child<QWidget>(window, "fraMain"));
    QVERIFY(Child<QLabel>(window, "lblFileVisible")->text().isEmpty());
    QVERIFY(Child<QLabel>(window, "lblFile")->text().isEmpty());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(Child<QLabel>(window, "lblFile")->isHidden());
    for (const char* name : {"lblSectionLength", "txtSectionLength", "lblSectionFormat"}) {
        QVERIFY2(!Child<QWidget>(window, name)->isVisible(), name);
    }
    QVERIFY(Child<QLineEdit>(window, "txtSectionLength")->text().isEmpty());

    // Shared state after load.
    const zlm::SessionState& state = window.State();
    QVERIFY(!window.ResultsValid());
    QCOMPARE(state.units.station, std::string("ft"));
    QCOMPARE(state.units.length, std::string("ft"));
    QCOMPARE(state.units.deviation, std::string("in"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    // The grid: placement-list header and one empty row, shown through the view's header.
    QCOMPARE(window.Grid().Rows(), 2);
    QCOMPARE(Cell(window, 0, 0), QString("Station (ft)"));
    QCOMPARE(Cell(window, 0, 1), QString("Maximum Dev. (in)"));
    QCOMPARE(Cell(window, 0, 2), QString("Amount Exceeded (in)"));
    for (int c = 0; c < 3; ++c) {
        QVERIFY(Cell(window, 1, c).isEmpty());
    }
    auto* view = Child<zlm::ResultsGridView>(window, "grdSKI");
    QCOMPARE(view->model()->rowCount(), 1);
    QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QString("Maximum Dev. (in)"));
    QVERIFY(view->horizontalHeader()->isVisible());
    QVERIFY(!view->verticalHeader()->isVisible());
    QCOMPARE(view->horizontalHeader()->height(), view->TwipsToPixels(500));
    QVERIFY(view->font().bold());
}

void MainWindowTest::columnWidthRule()
{
    QCOMPARE(zlm::ResultsGridView::ColumnWidthFor(6615), 2088);
    QCOMPARE(zlm::ResultsGridView::ColumnWidthFor(6611), 2087);
    QCOMPARE(zlm::ResultsGridView::ColumnWidthFor(6612), 2087);
    QCOMPARE(zlm::ResultsGridView::ColumnWidthFor(6614), 2088);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.resize(700, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* view = Child<zlm::ResultsGridView>(window, "grdSKI");
    const std::int32_t width = window.Grid().Width();
    QCOMPARE(width, view->PixelsToTwips(view->width()));
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(window.Grid().ColWidth(c), zlm::ResultsGridView::ColumnWidthFor(width));
        QCOMPARE(view->columnWidth(c), view->TwipsToPixels(window.Grid().ColWidth(c)));
    }
    // The grid follows the window.
    window.resize(900, 600);
    QTRY_VERIFY(window.Grid().Width() > width);
    QCOMPARE(window.Grid().ColWidth(0), zlm::ResultsGridView::ColumnWidthFor(window.Grid().Width()));
}

void MainWindowTest::openOutcomes_data()
{
    QTest::addColumn<QString>("fileName"); // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("boxTitle"); // empty: no box
    QTest::addColumn<int>("boxIcon");
    QTest::addColumn<int>("boxButtons");
    QTest::addColumn<QString>("boxText"); // "%" stands for the path

    const std::vector<double> road = zlm::test::BumpyRoad(200);
    const int ok = QMessageBox::Ok;
    QTest::newRow("cancel") << QString() << QByteArray() << QString() << 0 << 0 << QString();
    QTest::newRow("not a column-text profile")
        << "road.dat" << QByteArray("not a profile\r\n") << "Takeoff Error" << int(QMessageBox::NoIcon) << ok
        << "The file you selected is not a valid Rondel format profile.  Would you like to run the Varnholt to "
           "convert the file to Rondel format?";
    QTest::newRow("metric") << "road.dat" << zlm::test::ColumnText("Metric road", "Metric", "1", road) << "Ski Error"
                            << int(QMessageBox::Warning) << ok << "Please change to SI mode to use SI format profiles.";
    QTest::newRow("header failure") << "road.dat" << zlm::test::ColumnText("Bad road", "English", "none", road)
                                    << "File Error!" << int(QMessageBox::Warning) << ok
                                    << "File not found or invalid (%).";
    QTest::newRow("upper-case DAT goes to the ERD reader")
        << "ROAD1.DAT" << zlm::test::ColumnText("Road", "English", "1", road) << "ZLM" << int(QMessageBox::Information)
        << ok << "Error 0 File is is not in ERD format";
    QTest::newRow("ERD failure") << "road.erd" << QByteArray("ERDFILEV2.00\r\n1,2,0,0,0,0.5\r\nEND\r\n1\r\n") << "ZLM"
                                 << int(QMessageBox::Information) << ok
                                 << "Error 0 Error: The file has no UNITSNAM line naming the unit of its data";
    QTest::newRow("column-text success") << "road.dat" << zlm::test::ColumnText("Good road", "English", "1", road)
                                         << QString() << 0 << 0 << QString();
    QTest::newRow("ERD success") << "other.txt" << zlm::test::ErdText("Ramp", 0.25, road) << QString() << 0 << 0
                                 << QString();
}

void MainWindowTest::openOutcomes()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, boxTitle);
    QFETCH(int, boxIcon);
    QFETCH(int, boxButtons);
    QFETCH(QString, boxText);

    // A profile loaded and simulated before the command.
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(one_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(window.ResultsValid());
    QVERIFY(dialogs.messages.empty());
    const zlm::ElevationProfile before = window.State().profile;
    const int rowsBefore = window.Grid().Rows();
    QCOMPARE(window.State().profileTitle, std::string("First road"));

    const QString path = fileName.isEmpty() ? QString() : dir_.filePath(fileName);
    if (!path.isEmpty()) {
        zlm::test::WriteFile(path, contents);
        dialogs.openAnswers << path;
    }
    window.cmdOpen_Click();

    QCOMPARE(dialogs.openAsked, 1);
    QCOMPARE(dialogs.openTitle, QString("Choose Profile to Analyze"));
    QCOMPARE(dialogs.openFilter, QString("Pavement Profile (*.erd);;Rondel Pavement Profile (*.dat);;"
                                         "PRO Profile (*.pro *.PRO);;Delimited Text Profile (*.csv *.txt *.CSV *.TXT);;"
                                         "All Files (*)"));
    QCOMPARE(dialogs.openSuffix, QString("dat"));

    auto* lblFile = Child<QLabel>(window, "lblFile");
    auto* lblFileVisible = Child<QLabel>(window, "lblFileVisible");
    if (path.isEmpty()) {
        // Cancel changes nothing at all.
        QVERIFY(dialogs.messages.empty());
        QVERIFY(window.ResultsValid());
        QCOMPARE(window.Grid().Rows(), rowsBefore);
        QCOMPARE(window.State().profile.elevations, before.elevations);
        QCOMPARE(window.State().profileTitle, std::string("First road"));
        QCOMPARE(lblFile->text(), one_);
        return;
    }

    if (boxTitle.isEmpty()) {
        // A new profile: the old results are gone.
        QVERIFY(dialogs.messages.empty());
        QVERIFY(!window.ResultsValid());
        QCOMPARE(window.Grid().Rows(), 2);
        for (int c = 0; c < 3; ++c) {
            QVERIFY(Cell(window, 1, c).isEmpty());
            QVERIFY(window.Grid().CellBackColor(1, c) == zlm::kWhite);
        }
        QCOMPARE(Cell(window, 0, 0), QString("Station (ft)"));
        QCOMPARE(lblFile->text(), path);
        QCOMPARE(lblFileVisible->text(), QString::fromStdString(zlm::ShortenPath(path.toStdString(), 42)));
        QCOMPARE(window.State().profile.pointCount, 200);
        QVERIFY(window.State().profileTitle != "First road");
        return;
    }
    QCOMPARE(int(dialogs.messages.size()), 1);
    const auto& message = dialogs.messages.front();
    QCOMPARE(message.title, boxTitle);
    QCOMPARE(int(message.icon), boxIcon);
    QCOMPARE(int(message.buttons), boxButtons);
    QCOMPARE(message.text, QString(boxText).replace("%", path));
    // A failed read changes nothing: the previous profile, its title, its file
    // labels and its results stay.
    QCOMPARE(window.State().profile.pointCount, before.pointCount);
    QCOMPARE(window.State().profile.elevations, before.elevations);
    QCOMPARE(window.State().profile.interval, before.interval);
    QCOMPARE(window.State().profileTitle, std::string("First road"));
    QCOMPARE(lblFile->text(), one_);
    QVERIFY(window.ResultsValid());
    QCOMPARE(window.Grid().Rows(), rowsBefore);
    int plots = 0;
    window.SetPlotWindowOpener([&plots](frmSkiMain&) {
        ++plots;
        QGuiApplication::restoreOverrideCursor();
    });
    window.cmdPlot_Click();
    QCOMPARE(plots, 1);
}

void MainWindowTest::openAsksTheChannel()
{
    QByteArray text = "ERDFILEV2.00\r\n2,3,0,0,0,8.0\r\nTITLE   Two lanes\r\nUNITSNAMft\r\nEND\r\n";
    text += "1.0 4.0\r\n2.0 5.0\r\n3.0 6.0\r\n";
    const QString path = dir_.filePath("two.erd");
    zlm::test::WriteFile(path, text);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    dialogs.channelAnswer = 2;
    window.OpenProfile(path);
    QCOMPARE(dialogs.channelAsked, 1);
    QCOMPARE(window.State().channel, 2);
    QCOMPARE(window.State().profile.elevations, (std::vector<double>{4.0, 5.0, 6.0}));

    // A one-channel file asks nothing and keeps the choice.
    window.OpenProfile(one_);
    QCOMPARE(dialogs.channelAsked, 1);
    QCOMPARE(window.State().channel, 2);
}

// Cancel (or Esc, or closing the channel window) abandons the open: the old
// profile, its results, the grid, the file labels and the title stay, and no
// box is shown.
void MainWindowTest::cancelledChannelChangesNothing()
{
    QByteArray text = "ERDFILEV2.00\r\n2,3,0,0,0,8.0\r\nTITLE   Two lanes\r\nUNITSNAMft\r\nEND\r\n";
    text += "1.0 4.0\r\n2.0 5.0\r\n3.0 6.0\r\n";
    const QString path = dir_.filePath("two.erd");
    zlm::test::WriteFile(path, text);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(one_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(window.ResultsValid());
    const zlm::SessionState before = window.State();
    QStringList gridBefore;
    for (int r = 0; r < window.Grid().Rows(); ++r) {
        for (int c = 0; c < 3; ++c) {
            gridBefore << Cell(window, r, c);
        }
    }
    const QString visibleBefore = Child<QLabel>(window, "lblFileVisible")->text();

    dialogs.channelAnswer.reset();
    dialogs.openAnswers << path;
    window.cmdOpen_Click();

    QCOMPARE(dialogs.channelAsked, 1);
    QVERIFY(dialogs.messages.empty());
    QVERIFY(window.ResultsValid());
    QCOMPARE(window.State().profile.elevations, before.profile.elevations);
    QCOMPARE(window.State().profile.interval, before.profile.interval);
    QCOMPARE(window.State().profileTitle, before.profileTitle);
    QCOMPARE(window.State().channel, before.channel);
    QCOMPARE(window.State().straightedge.results.placements.size(), before.straightedge.results.placements.size());
    QStringList gridAfter;
    for (int r = 0; r < window.Grid().Rows(); ++r) {
        for (int c = 0; c < 3; ++c) {
            gridAfter << Cell(window, r, c);
        }
    }
    QCOMPARE(gridAfter, gridBefore);
    QCOMPARE(Child<QLabel>(window, "lblFile")->text(), one_);
    QCOMPARE(Child<QLabel>(window, "lblFileVisible")->text(), visibleBefore);
    QVERIFY(Child<QPushButton>(window, "cmdPlot")->isEnabled());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void MainWindowTest::channelWindowShowsTheNames()
{
    QByteArray text = "ERDFILEV2.00\r\n3,3,0,0,0,8.0\r\nTITLE   Three paths\r\nSHORTNAMLeft,Centre,Right\r\n"
                      "UNITSNAMft\r\nEND\r\n";
    text += "1.0 4.0 7.0\r\n2.0 5.0 8.0\r\n3.0 6.0 9.0\r\n";
    const QString path = dir_.filePath("three.erd");
    zlm::test::WriteFile(path, text);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    dialogs.channelAnswer = zlm::ChannelNumber{3};
    window.OpenProfile(path);
    QCOMPARE(dialogs.channelAsked, 1);
    QCOMPARE(dialogs.channelNames, (std::vector<std::string>{"Left", "Centre", "Right"}));
    QCOMPARE(window.State().channel, zlm::ChannelNumber{3});
    QCOMPARE(window.State().profile.elevations, (std::vector<double>{7.0, 8.0, 9.0}));

    // The next showing is told the choice made, so that it can start there.
    dialogs.channelAnswer = 2;
    window.OpenProfile(path);
    QCOMPARE(dialogs.channelEarlier, zlm::ChannelNumber{3});
    QCOMPARE(window.State().profile.elevations, (std::vector<double>{4.0, 5.0, 6.0}));
}

// A delimited file whose header names no units asks for them and reads with the
// answer; a cancelled question changes nothing and shows no box.
void MainWindowTest::delimitedUnitsAreAsked()
{
    const QString path = dir_.filePath("road.csv");
    zlm::test::WriteFile(path, "Distance,Elevation\r\n0,12\r\n0.5,24\r\n1,36\r\n");

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(one_);
    const std::vector<double> before = window.State().profile.elevations;

    window.OpenProfile(path);
    QCOMPARE(dialogs.unitsAsked, 1);
    QVERIFY(dialogs.unitsNeeded.distanceUnit && dialogs.unitsNeeded.elevationUnit && !dialogs.unitsNeeded.interval);
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(window.State().profile.elevations, before);
    QCOMPARE(Child<QLabel>(window, "lblFile")->text(), one_);

    zlm::DelimitedUnits answer;
    answer.distanceUnit = zlm::LengthUnit::Foot;
    answer.elevationUnit = zlm::LengthUnit::Inch;
    dialogs.unitsAnswer = answer;
    window.OpenProfile(path);
    QCOMPARE(dialogs.unitsAsked, 2);
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(window.State().profile.elevations, (std::vector<double>{1.0, 2.0, 3.0}));
    QCOMPARE(window.State().profile.interval, 0.5);
    QCOMPARE(Child<QLabel>(window, "lblFile")->text(), path);
}

void MainWindowTest::droppedFileOpens()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint at = window.rect().center();

    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        QCoreApplication::processEvents();
        return accepted;
    };

    // Several files, or something that is no local file, are refused.
    QVERIFY(!drop({QUrl::fromLocalFile(one_), QUrl::fromLocalFile(two_)}));
    QVERIFY(!drop({QUrl("https://example.com/road.erd")}));
    QVERIFY(Child<QLabel>(window, "lblFile")->text().isEmpty());

    QVERIFY(drop({QUrl::fromLocalFile(two_)}));
    QTRY_COMPARE(Child<QLabel>(window, "lblFile")->text(), two_);
    QCOMPARE(window.State().profileTitle, std::string("Second road"));
    QVERIFY(dialogs.messages.empty());
}

void MainWindowTest::browseStartsInTheLastFolder()
{
    QTemporaryDir other;
    const QString path = other.filePath("road.erd");
    zlm::test::WriteFile(path, zlm::test::ErdText("Other road", 0.25, zlm::test::BumpyRoad(100)));

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    dialogs.openAnswers << one_ << path;
    window.cmdOpen_Click();
    window.cmdOpen_Click();
    QCOMPARE(dialogs.openFolder, QFileInfo(one_).absolutePath());
    // A cancelled Browse keeps the folder of the last file chosen.
    window.cmdOpen_Click();
    QCOMPARE(dialogs.openFolder, QFileInfo(path).absolutePath());
    window.cmdOpen_Click();
    QCOMPARE(dialogs.openFolder, QFileInfo(path).absolutePath());
}

void MainWindowTest::sectionOption()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* check = Child<QCheckBox>(window, "chkSection");
    auto* text = Child<QLineEdit>(window, "txtSectionLength");
    const QList<QWidget*> row = {Child<QWidget>(window, "lblSectionLength"), text,
                                 Child<QWidget>(window, "lblSectionFormat")};
    auto rowVisible = [&row](bool visible) {
        for (QWidget* w : row) {
            if (w->isVisible() != visible) {
                return false;
            }
        }
        return true;
    };

    check->click();
    QVERIFY(rowVisible(true));
    QVERIFY(text->text().isEmpty());
    // The row sits on the Simulate button's line, below the check box.
    QVERIFY(text->geometry().top() > check->geometry().top());
    // "Section &Length:" takes Alt+L to its box.
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    check->setFocus();
    QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(text));

    text->setText("100");
    check->click();
    QVERIFY(rowVisible(false));
    QVERIFY(text->text().isEmpty());
    check->click();
    QVERIFY(rowVisible(true));
    QVERIFY(text->text().isEmpty());

    // The grid keeps a section summary when the option is switched off.
    window.OpenProfile(one_);
    text->setText("16");
    QVERIFY(zlm::test::SimulateAndWait(window));
    QCOMPARE(Cell(window, 0, 0), QString("Section"));
    check->click();
    QCOMPARE(Cell(window, 0, 0), QString("Section"));
    // ...and the next run lists the placements again.
    QVERIFY(zlm::test::SimulateAndWait(window));
    QCOMPARE(Cell(window, 0, 0), QString("Station (ft)"));
}

void MainWindowTest::accelerators_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Alt+B browses") << int(Qt::Key_B) << "open";
    QTest::newRow("Alt+S simulates") << int(Qt::Key_S) << "simulate";
    QTest::newRow("Alt+V saves") << int(Qt::Key_V) << "save";
    QTest::newRow("Alt+P plots") << int(Qt::Key_P) << "plot";
    QTest::newRow("Alt+A shows about") << int(Qt::Key_A) << "about";
}

void MainWindowTest::accelerators()
{
    QFETCH(int, key);
    QFETCH(QString, expected);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.OpenProfile(one_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    const int rowsAfterRun = window.Grid().Rows();
    int plots = 0;
    window.SetPlotWindowOpener([&plots](frmSkiMain&) {
        ++plots;
        QGuiApplication::restoreOverrideCursor();
    });
    QString aboutTitle;
    if (expected == "about") {
        zlm::test::WhenModalOpens([&aboutTitle](QWidget* modal) {
            aboutTitle = modal->windowTitle();
            modal->close();
        });
    }
    if (expected == "simulate") {
        // Simulate runs again on a new profile: the grid changes from its empty row.
        window.OpenProfile(two_);
        QCOMPARE(window.Grid().Rows(), 2);
    }

    QTest::keyClick(&window, Qt::Key(key), Qt::AltModifier);

    // A mnemonic clicks its button a moment later, as a mouse click would look.
    QTRY_VERIFY(dialogs.openAsked + dialogs.saveAsked + plots + int(!aboutTitle.isEmpty()) +
                    int(window.Grid().Rows() > 2 && expected == "simulate") >
                0);
    QCOMPARE(dialogs.openAsked, expected == "open" ? 1 : 0);
    QCOMPARE(dialogs.saveAsked, expected == "save" ? 1 : 0);
    QCOMPARE(plots, expected == "plot" ? 1 : 0);
    QCOMPARE(aboutTitle, expected == "about" ? QString("About ZLM") : QString());
    if (expected == "simulate") {
        QVERIFY(window.ResultsValid());
        QVERIFY(window.Grid().Rows() > 2);
    } else {
        QCOMPARE(window.Grid().Rows(), rowsAfterRun);
    }
}

void MainWindowTest::mouseMovementResetsThePointer()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Two hourglasses stacked, as a command that left them would.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget* grid = Child<QWidget>(window, "grdSKI")->findChild<QWidget*>("qt_scrollarea_viewport");
    QWidget* target = grid ? grid : Child<QWidget>(window, "fraMain");
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    // A movement over another window is not the main window's business.
    QWidget other;
    other.show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QMouseEvent elsewhere(QEvent::MouseMove, QPointF(5, 5), other.mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &elsewhere);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QGuiApplication::restoreOverrideCursor();
}

void MainWindowTest::guideOpens_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click on the link") << "click";
    QTest::newRow("Enter on the link") << "enter";
    QTest::newRow("Space on the link") << "space";
    QTest::newRow("F1") << "f1";
}

// The link under the commands and F1 open the guide, shipped inside the
// program, at its contents; the link is reached with Tab like a button.
void MainWindowTest::guideOpens()
{
    QFETCH(QString, how);
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* link = Child<QLabel>(window, "Label2");
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(window.findChild<zlm::HelpWindow*>() == nullptr);

    // The link comes after Plot in the Tab order (Plot is off before a run).
    Child<QPushButton>(window, "cmdSaveAs")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(link));

    if (how == "click") {
        QTest::mouseClick(link, Qt::LeftButton);
    } else if (how == "enter") {
        QTest::keyClick(link, Qt::Key_Return);
    } else if (how == "space") {
        QTest::keyClick(link, Qt::Key_Space);
    } else {
        QTest::keyClick(&window, Qt::Key_F1);
    }
    auto* help = window.findChild<zlm::HelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(help->isWindow());
    QCOMPARE(help->windowTitle(), QString("ZLM User Guide"));
    QCOMPARE(help->Browser()->source(), QUrl("qrc:/guide/index.html"));
    QVERIFY(help->Browser()->toPlainText().contains("straightedge"));

    // Asked again, the same window comes back.
    help->close();
    window.ShowHelp("graph.html");
    QCOMPARE(window.findChildren<zlm::HelpWindow*>().size(), 1);
    QVERIFY(help->isVisible());
    QCOMPARE(help->Browser()->source(), QUrl("qrc:/guide/graph.html"));
}

void MainWindowTest::focusReturnsToTheCommand_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("byMnemonic");
    QTest::newRow("Browse") << "cmdOpen" << false;
    QTest::newRow("Browse by Alt+B") << "cmdOpen" << true;
    QTest::newRow("Simulate") << "cmdSimulate" << false;
    QTest::newRow("Simulate by Alt+S") << "cmdSimulate" << true;
    QTest::newRow("Enter in the section length") << "txtSectionLength" << false;
    QTest::newRow("Save As") << "cmdSaveAs" << false;
    QTest::newRow("Plot") << "cmdPlot" << false;
    QTest::newRow("Plot by Alt+P") << "cmdPlot" << true;
}

// The commands are disabled while they work, which moves the focus away; when a
// command is over, the focus is back on the control that started it.
void MainWindowTest::focusReturnsToTheCommand()
{
    QFETCH(QString, control);
    QFETCH(bool, byMnemonic);
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.OpenProfile(one_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    Child<QCheckBox>(window, "chkSection")->click();
    dialogs.openAnswers << two_;
    dialogs.saveAnswer = dir_.filePath("results.txt");
    int plots = 0;
    window.SetPlotWindowOpener([&plots](frmSkiMain&) {
        ++plots;
        QGuiApplication::restoreOverrideCursor();
    });

    // A section length, so that a run shows by its table.
    Child<QLineEdit>(window, "txtSectionLength")->setText("100");
    const std::map<QString, std::function<bool()>> done = {
        {"cmdOpen", [&] { return window.State().profile.pointCount == 100; }},
        {"cmdSimulate", [&] { return Cell(window, 0, 0) == "Section"; }},
        {"txtSectionLength", [&] { return Cell(window, 0, 0) == "Section"; }},
        {"cmdSaveAs", [&] { return QFile::exists(dir_.filePath("results.txt")); }},
        {"cmdPlot", [&] { return plots == 1; }}};

    QWidget* origin = Child<QWidget>(window, qPrintable(control));
    if (byMnemonic) {
        Child<QWidget>(window, "grdSKI")->setFocus();
        const QString caption = qobject_cast<QPushButton*>(origin)->text();
        const QChar letter = caption.at(caption.indexOf('&') + 1).toUpper();
        QTest::keyClick(&window, Qt::Key(letter.unicode()), Qt::AltModifier);
    } else {
        origin->setFocus();
        QTest::keyClick(origin, control.startsWith("txt") ? Qt::Key_Return : Qt::Key_Space);
    }
    QTRY_VERIFY(done.at(control)());
    QTRY_COMPARE(QApplication::focusWidget(), origin);
}

void MainWindowTest::closeDeletesResultsTmp_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("with results.tmp") << true;
    QTest::newRow("without results.tmp") << false;
}

void MainWindowTest::closeDeletesResultsTmp()
{
    QFETCH(bool, fileThere);
    const QString leftover = QCoreApplication::applicationDirPath() + "/results.tmp";
    QFile::remove(leftover);
    if (fileThere) {
        zlm::test::WriteFile(leftover, "left over");
        QVERIFY(QFile::exists(leftover));
    }
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QVERIFY(window.close());
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(dialogs.messages.empty());
}

void MainWindowTest::hundredThousandRowsScroll()
{
    zlm::ResultsGrid grid;
    grid.SetRows(100001);
    for (int r = 1; r < grid.Rows(); r += 7) {
        grid.SetTextMatrix(r, 0, std::to_string(8 * r) + ".0000");
    }
    zlm::ResultsGridView view(grid);
    view.resize(440, 280);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QElapsedTimer timer;
    timer.start();
    view.Reload();
    for (int step = 0; step < 50; ++step) {
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() * step / 49);
        view.viewport()->repaint();
    }
    const qint64 elapsed = timer.elapsed();
    qInfo("reload and 50 repaints over 100,000 rows: %lld ms", elapsed);
    QCOMPARE(view.model()->rowCount(), 100000);
    QVERIFY(view.rowAt(view.viewport()->height() - 1) >= 99990);
    QVERIFY2(elapsed < 2000, "scrolling through 100,000 rows is too slow");
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
