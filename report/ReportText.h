#pragma once

#include "analysis/TextTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zlm {

/** One name/value line of a list of facts. */
struct ReportFact {
    QString name;
    QString value;
    bool monospace = false; ///< the value in a fixed-pitch font (a checksum)
};

/** One section element of a report's text, in the order written. */
struct ReportBlock {
    enum class Kind { Heading, Paragraph, Preformatted, Facts, Table };
    Kind kind = Kind::Paragraph;
    QString text;                  ///< of a heading, a paragraph or monospaced lines
    std::vector<ReportFact> facts; ///< of a list of facts
    std::vector<QStringList> rows; ///< of a table: row 0 the header
};

/**
 * The text sections of a report as they are written, in order: headings,
 * paragraphs, monospaced lines, name/value facts and tables. TextPages lays
 * them out in pages and draws them.
 */
class ReportText {
public:
    void Heading(const QString& text);
    /** Text wrapped between words (and after a zero-width space) to the page's width. */
    void Paragraph(const QString& text);
    /** Lines of monospaced text kept as they are. */
    void Preformatted(const QString& text);

    /** Starts a two-column list of facts, its names in bold; Fact adds its lines. */
    void BeginFacts();
    void Fact(const QString& name, const QString& value, bool monospace = false);

    /** A table with its header row repeated on every page it spans; a header's "(unit)" goes on a line of its own. */
    void Table(const TextTable& table);

    const std::vector<ReportBlock>& Blocks() const { return blocks_; }

private:
    std::vector<ReportBlock> blocks_;
};

} // namespace zlm
