#include "mainwindow/CorrectionsWindow.h"

#include "analysis/DisplayFormat.h"
#include "commands/CorrectionsWriter.h"
#include "commands/SessionState.h"
#include "graph/LocaleText.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/CorrectionsModel.h"
#include "mainwindow/SavePathPrompt.h"
#include "mainwindow/UserDialogs.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zlm {

namespace {

} // namespace

CorrectionsWindow::CorrectionsWindow(const SessionState& state, const QString& profileCaption, UserDialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), state_(state), profileCaption_(profileCaption), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmCorrections"));
    setWindowTitle(QStringLiteral("Corrections"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    const char separator = LocaleDecimalSeparator();
    model_ = new CorrectionsModel(state.straightedge.results.zones, state.units, separator, this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);

    const CorrectionSummary& zones = model_->Zones();
    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblZoneSummary"));
    lblSummary_->setText(QStringLiteral("Zones: %1    Total Length: %2 %3    Percent Defective Length = %4%")
                             .arg(zones.zones.size())
                             .arg(FromCoreText(FormatNumber(zones.totalLength, "###0.0000", separator)),
                                  FromCoreText(state.units.length),
                                  FromCoreText(FormatNumber(zones.percentDefectiveLength, "#0.00", separator))));
    lblSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("tblZones"));
    view_->setModel(sorted_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setSortingEnabled(true);
    view_->sortByColumn(CorrectionsTable::Number, Qt::AscendingOrder);
    view_->installEventFilter(this);
    view_->setToolTip(QStringLiteral("Double-click a zone or press Enter to see it on the deviation graph"));
    connect(view_, &QTableView::activated, this, &CorrectionsWindow::OpenZone);

    cmdSaveAs_ = new QPushButton(QStringLiteral("Sa&ve As..."), this);
    cmdSaveAs_->setObjectName(QStringLiteral("cmdSaveAs"));
    cmdClose_ = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    // Enter belongs to the list, where it opens the graph, not to a default button.
    for (QPushButton* button : {cmdSaveAs_, cmdClose_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(cmdSaveAs_, &QPushButton::clicked, this, &CorrectionsWindow::cmdSaveAs_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSaveAs_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(1000, 420);
    view_->setFocus();
}

CorrectionsWindow::~CorrectionsWindow() = default;

const CorrectionSummary& CorrectionsWindow::Zones() const
{
    return model_->Zones();
}

QTableView* CorrectionsWindow::View() const
{
    return view_;
}

QString CorrectionsWindow::SummaryLine() const
{
    return lblSummary_->text();
}

QString CorrectionsWindow::SelectedRowsText() const
{
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < sorted_->columnCount(); ++column)
            cells.append(sorted_->index(row.row(), column).data().toString());
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

void CorrectionsWindow::CopySelection()
{
    QGuiApplication::clipboard()->setText(SelectedRowsText());
}

bool CorrectionsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The view's own copy takes the current cell alone; the list copies whole rows.
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopySelection();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CorrectionsWindow::cmdSaveAs_Click()
{
    int filterIndex = 1;
    QString path = dialogs_.AskSaveFile(QStringLiteral("Save Corrections As"),
                                        {QStringLiteral("Comma Separated (*.csv)")}, filterIndex);
    if (path.isEmpty())
        return;
    // A name typed without an extension is saved as a comma-separated file.
    path = ConfirmedSavePath(dialogs_, QStringLiteral("Save As"), path, QStringLiteral(".csv"),
                             ExtensionRule::WhenNoneTyped);
    if (path.isEmpty())
        return;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SaveResult saved = SaveCorrections(ToFileName(path), model_->Zones(), state_.units);
    QGuiApplication::restoreOverrideCursor();
    if (!saved.ok)
        dialogs_.ShowMessage(QStringLiteral("File Error!"), FromCoreText(saved.message), QMessageBox::Warning,
                             QMessageBox::Ok);
}

std::pair<double, double> CorrectionsWindow::ZoneViewRange(const CorrectionZone& zone, double profileLength)
{
    const double margin = zone.length / 4.0;
    const double start = std::max(0.0, zone.start - margin);
    const double end = std::min(std::max(profileLength, zone.end), zone.end + margin);
    return {start, end};
}

void CorrectionsWindow::OpenZone(const QModelIndex& viewIndex)
{
    if (!viewIndex.isValid())
        return;
    const CorrectionZone& zone = model_->Zone(sorted_->mapToSource(viewIndex).row());
    const StraightedgeResults& results = state_.straightedge.results;
    const double profileLength = static_cast<double>(results.pointCount - 1) * results.interval;
    const auto [start, end] = ZoneViewRange(zone, profileLength);
    if (graphOpener_) {
        graphOpener_(start, end);
        return;
    }
    frmSkiPlot plot(state_, profileCaption_, this);
    plot.ZoomToDistance(start, end);
    plot.exec();
}

void CorrectionsWindow::SetZoneGraphOpener(ZoneGraphOpener opener)
{
    graphOpener_ = std::move(opener);
}

} // namespace zlm
