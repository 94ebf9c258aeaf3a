#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>

class QPainter;
class QPdfWriter;

namespace zlm {

/**
 * Starts each page of the report with its running header (the report's name,
 * the profile's file name, "Page i of n") and footer, and says where the page's
 * body is.
 */
class PageFrame {
public:
    PageFrame(QPdfWriter& writer, QPainter& painter, QString reportName, QString fileName, QString footer,
              int pageCount);

    /** Begins the next page (the first is the writer's first) in `orientation` and returns its body. */
    QRectF Begin(QPageLayout::Orientation orientation);

    /** The body of a page in the given orientation, before any page is begun. */
    static QSizeF BodySize(const QPdfWriter& writer, QPageLayout::Orientation orientation);
    /** The body of a page of `layout` in the given orientation, at the report's resolution. */
    static QSizeF BodySize(QPageLayout layout, QPageLayout::Orientation orientation);

private:
    QPdfWriter& writer_;
    QPainter& painter_;
    QString reportName_;
    QString fileName_;
    QString footer_;
    int pageCount_;
    int page_ = 0;
};

} // namespace zlm
