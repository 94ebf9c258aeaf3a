#pragma once

#include "report/ReportText.h"

#include <QTextDocument>

class QPainter;
class QPaintDevice;

namespace zlm {

/** Text sections of the report laid out in pages of the body's size. */
class TextPages {
public:
    /** Lays `text` out for `device` (whose fonts it measures) in pages of `body`. */
    TextPages(const ReportText& text, QPaintDevice& device, const QSizeF& body);

    /** How many pages the text takes. */
    int Count() const;

    /** Draws page `page` (0-based) into `body`. */
    void Draw(QPainter& painter, int page, const QRectF& body);

private:
    QTextDocument document_;
};

} // namespace zlm
