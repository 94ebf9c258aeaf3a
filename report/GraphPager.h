#pragma once

#include "analysis/UnitSystem.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace zlm {

/** The distance one graph page of a US report covers at most, in feet. */
constexpr double kUsGraphPageDistance = 1000.0;
/** The distance one graph page of an SI report covers at most, in metres. */
constexpr double kSiGraphPageDistance = 300.0;

/** The distance one graph page of the report covers at most: kUsGraphPageDistance or kSiGraphPageDistance. */
double GraphPageDistance(UnitSystem units);

/** GraphPageDistance as the report writes it, thousands grouped ("1,000", "300"). */
QString GraphPageDistanceText(UnitSystem units);

/**
 * How a graph along the profile is cut into landscape pages: a road shorter
 * than a page fills its one page; a longer one is cut into pages of the full
 * GraphPageDistance, so that every page has the same scale. Each page starts
 * with a note naming the graph and the distances it covers.
 */
class GraphPager {
public:
    /** The pages of a profile `profileLength` long (in the units' distance unit, `unit`). */
    GraphPager(double profileLength, UnitSystem units, QString unit, char decimalSeparator);

    /** How many graph pages a graph takes. */
    int Pages() const { return pages_; }
    /** The distance each page spans. */
    double PageDistance() const { return pageDistance_; }
    double ProfileLength() const { return profileLength_; }
    UnitSystem Units() const { return units_; }
    /** Where page `page` (0-based) starts. */
    double Start(int page) const { return page * pageDistance_; }
    /** Where page `page` ends: a page's distance on, though the last page's graph may end before it. */
    double End(int page) const { return Start(page) + pageDistance_; }

    /**
     * Writes the note of page `page` of `graphName` ("Deviation graph") at the
     * top of `body` and returns the rest of the body, where the graph goes.
     */
    QRectF DrawNote(QPainter& painter, const QRectF& body, int page, const QString& graphName) const;

    /** Where the graph goes in a page's `body`: below the note. */
    static QRectF GraphArea(const QRectF& body);

private:
    double profileLength_;
    UnitSystem units_;
    QString unit_;
    char decimalSeparator_;
    double pageDistance_ = 0.0;
    int pages_ = 1;
};

} // namespace zlm
