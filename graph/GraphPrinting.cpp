#include "graph/GraphPrinting.h"

#include "graph/GraphControl.h"
#include "graph/GraphDialogs.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace zlm {

namespace {

/** Draws pages on a started printer: each page the graph laid out for the printable area. */
struct PageRun {
    GraphControl& graph;
    QPrinter& printer;
    QCPPainter& painter;
    bool firstPage = true;

    void Page()
    {
        if (!firstPage)
            printer.newPage();
        firstPage = false;
        const QRect area = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
        graph.Render(painter, area.width(), area.height());
    }
};

} // namespace

void PrintGraph(GraphControl& graph, double pagingLimit, GraphDialogs& dialogs)
{
    // The graph measures its texts at screen resolution; a printer in that
    // resolution keeps text and layout in proportion (vector output stays sharp).
    QPrinter printer(QPrinter::ScreenResolution);
    // The graph is much wider than tall: landscape unless the user picks otherwise.
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool zoomed = graph.IsZoomed();
    bool selectionChosen = false;
    if (!dialogs.ChoosePrint(printer, zoomed, selectionChosen))
        return;

    // Qt's PDF output (and printing without CUPS) does not repeat the document
    // for copies itself: the pages are then printed copyCount times here, and the
    // printer told to make one copy of that.
    int documents = 1;
    if (!printer.supportsMultipleCopies()) {
        documents = std::max(printer.copyCount(), 1);
        printer.setCopyCount(1);
    }

    QCPPainter painter;
    if (!painter.begin(&printer)) {
        dialogs.ShowError(QStringLiteral("Print Error"), QStringLiteral("The printer could not be started."));
        return;
    }
    PageRun run{graph, printer, painter};
    // Laying out and drawing many pages takes a while: the hourglass shows it.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);

    const double start = graph.ZoomStart();
    const double end = graph.ZoomEnd();
    const double width = end - start;
    // Page by page only when All was chosen over a zoom; a window without a
    // positive, finite width cannot be stepped, so it prints as one page.
    const bool paging = zoomed && !selectionChosen && width > 0.0 && std::isfinite(width);
    for (int copy = 0; copy < documents; ++copy) {
        if (!paging) {
            run.Page();
            continue;
        }
        double pageStart = 0.0;
        double pageEnd = width;
        graph.SetZoomWindow(pageStart, pageEnd);
        run.Page();
        // Paging stops at the first page whose end is greater than the limit; a
        // limit that is not a number, or a width too small to move the window
        // any further, stops it as well.
        while (pageEnd <= pagingLimit && pageEnd + width > pageEnd) {
            pageStart = pageEnd;
            pageEnd = pageEnd + width;
            graph.SetZoomWindow(pageStart, pageEnd);
            run.Page();
        }
    }
    painter.end();
    if (paging)
        graph.SetZoomWindow(start, end);
    QGuiApplication::restoreOverrideCursor();
}

} // namespace zlm
