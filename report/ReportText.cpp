#include "report/ReportText.h"

#include "report/ReportStyle.h"

namespace zlm {

namespace {

ReportBlock TextBlock(ReportBlock::Kind kind, const QString& text)
{
    ReportBlock block;
    block.kind = kind;
    block.text = text;
    return block;
}

} // namespace

void ReportText::Heading(const QString& text)
{
    blocks_.push_back(TextBlock(ReportBlock::Kind::Heading, text));
}

void ReportText::Paragraph(const QString& text)
{
    blocks_.push_back(TextBlock(ReportBlock::Kind::Paragraph, text));
}

void ReportText::Preformatted(const QString& text)
{
    blocks_.push_back(TextBlock(ReportBlock::Kind::Preformatted, text));
}

void ReportText::BeginFacts()
{
    ReportBlock block;
    block.kind = ReportBlock::Kind::Facts;
    blocks_.push_back(std::move(block));
}

void ReportText::Fact(const QString& name, const QString& value, bool monospace)
{
    if (blocks_.empty() || blocks_.back().kind != ReportBlock::Kind::Facts)
        BeginFacts();
    blocks_.back().facts.push_back({name, value, monospace});
}

void ReportText::Table(const TextTable& table)
{
    ReportBlock block;
    block.kind = ReportBlock::Kind::Table;
    block.rows.reserve(static_cast<std::size_t>(table.Rows()));
    for (std::int32_t row = 0; row < table.Rows(); ++row) {
        QStringList cells;
        cells.reserve(table.Cols());
        for (std::int32_t col = 0; col < table.Cols(); ++col) {
            QString cell = ReportString(table.Cell(row, col));
            if (row == 0)
                cell.replace(QStringLiteral(" ("), QStringLiteral("\n("));
            cells.append(std::move(cell));
        }
        block.rows.push_back(std::move(cells));
    }
    blocks_.push_back(std::move(block));
}

} // namespace zlm
