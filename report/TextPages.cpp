#include "report/TextPages.h"

#include "report/ReportStyle.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace zlm {

namespace {

constexpr double kPadding = 2.0;         ///< inside a fact's box, and across a table cell's
constexpr double kCellPadding = 3.0;     ///< above and below a table cell's text
constexpr double kFactNameWidth = 210.0; ///< the names' column of a list of facts
constexpr double kHeadingSpace = 12.0;   ///< above a heading, unless it starts a page
constexpr double kBlockSpace = 6.0;      ///< between other blocks
const QColor kShade(0xe8, 0xe8, 0xe8);
const QColor kRule(0x80, 0x80, 0x80);

QFont MonoFont(int pointSize)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"), pointSize);
    font.setStyleHint(QFont::Monospace);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont Emboldened(QFont font)
{
    font.setBold(true);
    return font;
}

QString WithoutTrailingSpaces(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

/** Text broken into lines of at most `width`: between words, or after a zero-width space; a word is never split. */
QStringList Wrapped(const QString& text, const QFontMetricsF& metrics, double width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QString line;
        qsizetype from = 0;
        while (from < paragraph.size()) {
            qsizetype to = from;
            while (to < paragraph.size() && paragraph[to] != u' ' && paragraph[to] != QChar(0x200B))
                ++to;
            to = std::min(to + 1, paragraph.size());
            const QString token = paragraph.mid(from, to - from);
            if (!line.isEmpty() && metrics.horizontalAdvance(WithoutTrailingSpaces(line + token)) > width) {
                lines.append(WithoutTrailingSpaces(line));
                line.clear();
            }
            line += token;
            from = to;
        }
        lines.append(WithoutTrailingSpaces(line));
    }
    return lines;
}

} // namespace

/** Places the blocks' rows on pages, one after another, breaking pages between rows. */
class TextPages::Layout {
public:
    Layout(TextPages& pages, QPaintDevice& device, const QSizeF& body) : pages_(pages), body_(body)
    {
        for (int role = 0; role < FontCount; ++role)
            metrics_.emplace_back(pages.fonts_[static_cast<std::size_t>(role)], &device);
    }

    void Add(const ReportBlock& block)
    {
        switch (block.kind) {
        case ReportBlock::Kind::Heading:
            AddLines(Wrapped(block.text, Metrics(Heading), body_.width()), Heading, kHeadingSpace, 4.0);
            break;
        case ReportBlock::Kind::Paragraph:
            AddLines(Wrapped(block.text, Metrics(Body), body_.width()), Body, kBlockSpace, kBlockSpace);
            break;
        case ReportBlock::Kind::Preformatted:
            AddLines(block.text.split(u'\n'), SmallMono, kBlockSpace, kBlockSpace);
            break;
        case ReportBlock::Kind::Facts:
            AddFacts(block.facts);
            break;
        case ReportBlock::Kind::Table:
            AddTable(block.rows);
            break;
        }
    }

private:
    const QFontMetricsF& Metrics(FontRole role) const { return metrics_[static_cast<std::size_t>(role)]; }

    Piece Text(double x, double top, const QString& text, FontRole role) const
    {
        return Text(x, top, text, role, Metrics(role).horizontalAdvance(text));
    }

    /** A text whose advance in `role` is known already. */
    Piece Text(double x, double top, const QString& text, FontRole role, double advance) const
    {
        Piece piece;
        piece.rect = QRectF(x, top + Metrics(role).ascent(), advance, 0.0);
        piece.text = text;
        piece.font = role;
        return piece;
    }

    /** Lines each a row of their own; a heading keeps the next two lines of body text on its page. */
    void AddLines(const QStringList& lines, FontRole role, double before, double after)
    {
        const double height = Metrics(role).lineSpacing();
        const double keep = role == Heading ? 2.0 * Metrics(Body).lineSpacing() + kBlockSpace : 0.0;
        for (qsizetype k = 0; k < lines.size(); ++k) {
            Row row;
            row.height = height;
            row.pieces.push_back(Text(0.0, 0.0, lines[k], role));
            Place(row, k == 0 ? before : 0.0, keep);
        }
        space_ = after;
    }

    void AddFacts(const std::vector<ReportFact>& facts)
    {
        const double valueWidth = body_.width() - kFactNameWidth - 2.0 * kPadding;
        for (std::size_t k = 0; k < facts.size(); ++k) {
            const FontRole valueRole = facts[k].monospace ? Mono : Body;
            const QStringList lines = Wrapped(facts[k].value, Metrics(valueRole), valueWidth);
            // A long name (a file's header field) wraps within its column rather than run into its value.
            const QStringList names = Wrapped(facts[k].name, Metrics(Bold), kFactNameWidth - 4.0 * kPadding);
            Row row;
            const double nameHeight = Metrics(Bold).lineSpacing();
            for (qsizetype line = 0; line < names.size(); ++line)
                row.pieces.push_back(Text(kPadding, kPadding + line * nameHeight, names[line], Bold));
            const double lineHeight = Metrics(valueRole).lineSpacing();
            for (qsizetype line = 0; line < lines.size(); ++line)
                row.pieces.push_back(
                    Text(kFactNameWidth + kPadding, kPadding + line * lineHeight, lines[line], valueRole));
            row.height = std::max(names.size() * nameHeight, lines.size() * lineHeight) + 2.0 * kPadding;
            Place(row, k == 0 ? kBlockSpace : 0.0, 0.0);
        }
        space_ = kBlockSpace;
    }

    /** The advances of a table's cells below its header, by row and column: each is measured once. */
    using CellAdvances = std::vector<std::vector<double>>;
    std::vector<double> ColumnEdges(const std::vector<QStringList>& rows, const CellAdvances& advances) const;
    Row HeaderRow(const QStringList& cells, const std::vector<double>& edges, int grid) const;
    Row TableRow(const QStringList& cells, const std::vector<double>& advances, const std::vector<double>& edges,
                 int grid) const;
    Row Ruled(Row row, const std::vector<double>& edges, int grid, bool header) const;
    void AddTable(const std::vector<QStringList>& rows);
    void Place(const Row& row, double before, double keep);

    TextPages& pages_;
    QSizeF body_;
    std::vector<QFontMetricsF> metrics_;
    int page_ = 0;
    double y_ = 0.0;
    double space_ = 0.0;            ///< asked for below the last block
    const Row* repeated_ = nullptr; ///< the header row a table repeats on each new page
};

// Each column as wide as its widest cell (a header as its widest word at least), the rest of
// the width shared in proportion to how much wider each column's unbroken texts would be.
std::vector<double> TextPages::Layout::ColumnEdges(const std::vector<QStringList>& rows,
                                                   const CellAdvances& advances) const
{
    const std::size_t columns = rows.empty() ? 0 : static_cast<std::size_t>(rows[0].size());
    std::vector<double> least(columns, 0.0);
    std::vector<double> natural(columns, 0.0);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t col = 0; col < columns && col < static_cast<std::size_t>(rows[row].size()); ++col) {
            const QString& cell = rows[row][static_cast<qsizetype>(col)];
            if (row == 0) {
                for (const QString& line : cell.split(u'\n')) {
                    natural[col] = std::max(natural[col], Metrics(SmallBold).horizontalAdvance(line));
                    for (const QString& word : line.split(u' '))
                        least[col] = std::max(least[col], Metrics(SmallBold).horizontalAdvance(word));
                }
            } else {
                const double width = advances[row - 1][col];
                least[col] = std::max(least[col], width);
                natural[col] = std::max(natural[col], width);
            }
        }
    }
    for (std::size_t col = 0; col < columns; ++col) {
        least[col] += 2.0 * kPadding + 1.0;
        natural[col] += 2.0 * kPadding + 1.0;
    }
    const double leastSum = std::accumulate(least.begin(), least.end(), 0.0);
    const double naturalSum = std::accumulate(natural.begin(), natural.end(), 0.0);
    const double spare = std::max(body_.width() - leastSum, 0.0);
    std::vector<double> edges{0.0};
    for (std::size_t col = 0; col < columns; ++col) {
        const double share = naturalSum > leastSum && naturalSum > body_.width()
                                 ? (natural[col] - least[col]) / (naturalSum - leastSum)
                                 : natural[col] / naturalSum;
        const double base = naturalSum > body_.width() ? least[col] : natural[col];
        const double extra = naturalSum > body_.width() ? spare : body_.width() - naturalSum;
        edges.push_back(edges.back() + base + extra * share);
    }
    return edges;
}

TextPages::Row TextPages::Layout::HeaderRow(const QStringList& cells, const std::vector<double>& edges, int grid) const
{
    Row row;
    const double lineHeight = Metrics(SmallBold).lineSpacing();
    qsizetype lineCount = 1;
    for (qsizetype col = 0; col < cells.size() && col + 1 < static_cast<qsizetype>(edges.size()); ++col) {
        const double left = edges[static_cast<std::size_t>(col)];
        const double width = edges[static_cast<std::size_t>(col) + 1] - left - 2.0 * kPadding;
        const QStringList lines = Wrapped(cells[col], Metrics(SmallBold), width);
        lineCount = std::max(lineCount, lines.size());
        for (qsizetype line = 0; line < lines.size(); ++line) {
            // Headers are centred over their column.
            const double advance = Metrics(SmallBold).horizontalAdvance(lines[line]);
            const double x = left + kPadding + (width - advance) / 2.0;
            row.pieces.push_back(Text(x, kCellPadding + line * lineHeight, lines[line], SmallBold, advance));
        }
    }
    row.height = lineCount * lineHeight + 2.0 * kCellPadding;
    return Ruled(std::move(row), edges, grid, true);
}

TextPages::Row TextPages::Layout::TableRow(const QStringList& cells, const std::vector<double>& advances,
                                           const std::vector<double>& edges, int grid) const
{
    Row row;
    for (qsizetype col = 0; col < cells.size() && col + 1 < static_cast<qsizetype>(edges.size()); ++col) {
        const double left = edges[static_cast<std::size_t>(col)];
        const double width = edges[static_cast<std::size_t>(col) + 1] - left - 2.0 * kPadding;
        // Numbers are set to the column's right.
        const double advance = advances[static_cast<std::size_t>(col)];
        row.pieces.push_back(Text(left + kPadding + width - advance, kCellPadding, cells[col], Small, advance));
    }
    row.height = Metrics(Small).lineSpacing() + 2.0 * kCellPadding;
    return Ruled(std::move(row), edges, grid, false);
}

/** A row with its rules (and a header's shade behind it). */
TextPages::Row TextPages::Layout::Ruled(Row row, const std::vector<double>& edges, int grid, bool header) const
{
    Piece rules;
    rules.kind = Piece::Kind::Rules;
    rules.rect = QRectF(0.0, 0.0, edges.back(), row.height);
    rules.grid = grid;
    rules.ruleTop = header;
    if (header) {
        Piece shade = rules;
        shade.kind = Piece::Kind::Shade;
        row.pieces.insert(row.pieces.begin(), shade);
    }
    row.pieces.push_back(rules);
    return row;
}

void TextPages::Layout::AddTable(const std::vector<QStringList>& rows)
{
    if (rows.empty())
        return;
    CellAdvances advances(rows.size() - 1);
    for (std::size_t row = 1; row < rows.size(); ++row) {
        for (const QString& cell : rows[row])
            advances[row - 1].push_back(Metrics(Small).horizontalAdvance(cell));
    }
    const int grid = static_cast<int>(pages_.grids_.size());
    pages_.grids_.push_back(ColumnEdges(rows, advances));
    const std::vector<double>& edges = pages_.grids_.back();
    const Row header = HeaderRow(rows[0], edges, grid);
    // The header stays with the first row.
    const double keep = rows.size() > 1 ? Metrics(Small).lineSpacing() + 2.0 * kCellPadding : 0.0;
    Place(header, kBlockSpace, keep);
    repeated_ = &header;
    for (std::size_t row = 1; row < rows.size(); ++row)
        Place(TableRow(rows[row], advances[row - 1], edges, grid), 0.0, 0.0);
    repeated_ = nullptr;
    space_ = kBlockSpace;
}

// Puts a row below the last, or at the top of a new page when it (and the `keep` below it)
// does not fit; a table's header row comes first on the new page.
void TextPages::Layout::Place(const Row& row, double before, double keep)
{
    double top = y_ > 0.0 ? y_ + std::max(before, space_) : 0.0;
    space_ = 0.0;
    if (y_ > 0.0 && top + row.height + keep > body_.height()) {
        ++page_;
        pages_.pageStarts_.push_back(pages_.pieces_.size());
        y_ = 0.0;
        top = 0.0;
        if (repeated_ != nullptr) {
            const Row* header = repeated_;
            repeated_ = nullptr;
            Place(*header, 0.0, 0.0);
            repeated_ = header;
            top = y_;
        }
    }
    for (Piece piece : row.pieces) {
        piece.page = page_;
        piece.rect.translate(0.0, top);
        pages_.pieces_.push_back(std::move(piece));
    }
    y_ = top + row.height;
}

TextPages::TextPages(const ReportText& text, QPaintDevice& device, const QSizeF& body)
{
    fonts_[Body] = ReportFont(9);
    fonts_[Bold] = Emboldened(ReportFont(9));
    fonts_[Heading] = Emboldened(ReportFont(11));
    fonts_[Mono] = MonoFont(9);
    fonts_[Small] = ReportFont(8);
    fonts_[SmallBold] = Emboldened(ReportFont(8));
    fonts_[SmallMono] = MonoFont(8);
    pageStarts_.push_back(0);
    Layout layout(*this, device, body);
    for (const ReportBlock& block : text.Blocks())
        layout.Add(block);
    pages_ = static_cast<int>(pageStarts_.size());
    pageStarts_.push_back(pieces_.size());
}

void TextPages::Draw(QPainter& painter, int page, const QRectF& body) const
{
    painter.save();
    painter.translate(body.topLeft());
    const QPen textPen(Qt::black);
    const QPen rulePen(kRule, 0.75);
    int font = -1;
    std::vector<QLineF> lines;
    for (std::size_t k = pageStarts_[static_cast<std::size_t>(page)];
         k < pageStarts_[static_cast<std::size_t>(page) + 1]; ++k) {
        const Piece& piece = pieces_[k];
        if (piece.kind == Piece::Kind::Shade) {
            painter.fillRect(piece.rect, kShade);
        } else if (piece.kind == Piece::Kind::Rules) {
            const QRectF& r = piece.rect;
            lines.assign({QLineF(r.left(), r.bottom(), r.right(), r.bottom())});
            if (piece.ruleTop)
                lines.emplace_back(r.left(), r.top(), r.right(), r.top());
            for (const double x : grids_[static_cast<std::size_t>(piece.grid)])
                lines.emplace_back(x, r.top(), x, r.bottom());
            painter.setPen(rulePen);
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        } else {
            if (piece.font != font) {
                font = piece.font;
                painter.setFont(fonts_[static_cast<std::size_t>(font)]);
            }
            painter.setPen(textPen);
            painter.drawText(piece.rect.topLeft(), piece.text);
        }
    }
    painter.restore();
}

} // namespace zlm
