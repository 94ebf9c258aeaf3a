#pragma once

#include "report/ReportText.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <array>
#include <vector>

class QPainter;
class QPaintDevice;

namespace zlm {

/**
 * Text sections of the report laid out in pages of the body's size and drawn
 * with the painter directly: headings, wrapped paragraphs, monospaced lines,
 * facts in two columns, and tables whose columns share the width by their
 * contents, a row never split and the header row repeated on each page.
 */
class TextPages {
public:
    /** Lays `text` out for `device` (whose fonts it measures) in pages of `body`. */
    TextPages(const ReportText& text, QPaintDevice& device, const QSizeF& body);

    /** How many pages the text takes. */
    int Count() const { return pages_; }

    /** Draws page `page` (0-based) into `body`. */
    void Draw(QPainter& painter, int page, const QRectF& body) const;

    /** The fonts of the text, by role. */
    enum FontRole { Body, Bold, Heading, Mono, Small, SmallBold, SmallMono, FontCount };

private:
    /** One thing drawn: a line of text from its baseline's left end, a shaded box, or a table row's rules. */
    struct Piece {
        enum class Kind { Text, Shade, Rules };
        Kind kind = Kind::Text;
        int page = 0;
        QRectF rect; ///< in the body's coordinates; a text's baseline starts at its top left
        QString text;
        FontRole font = Body;
        int grid = -1;        ///< of Rules: the table's column edges in grids_
        bool ruleTop = false; ///< of Rules: the row's top rule too (the first row of a table on its page)
    };
    /** Pieces of one unbreakable row, placed from the row's top. */
    struct Row {
        double height = 0.0;
        std::vector<Piece> pieces;
    };

    class Layout;

    std::array<QFont, FontCount> fonts_;
    std::vector<Piece> pieces_;              ///< in page order
    std::vector<std::vector<double>> grids_; ///< each table's column edges, from 0 to its width
    std::vector<std::size_t> pageStarts_;
    int pages_ = 1;
};

} // namespace zlm
