#pragma once

#include "analysis/DisplayFormat.h"

#include <string>
#include <vector>

namespace zlm {

class GraphControl;
class GraphDialogs;

/**
 * Prints the graph on the printer chosen in the print dialog. When the graph is
 * zoomed the dialog offers Selection, preselected: Selection prints the current
 * view on one page; All prints page by page across the data, each page as wide
 * as the zoom window, from distance 0 until the first page whose end is greater
 * than `pagingLimit` (feet), and restores the zoom window afterwards. Not zoomed,
 * it prints one page of the full graph. Every page holds the graph laid out for
 * the printable area in device pixels. The chosen number of copies is printed
 * by the printer, or by repeating the pages where the printer cannot (PDF).
 * A cancelled dialog prints nothing and changes nothing; a printer that cannot
 * be started is reported through `dialogs`.
 */
void PrintGraph(GraphControl& graph, double pagingLimit, GraphDialogs& dialogs);

} // namespace zlm
