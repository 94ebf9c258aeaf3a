#pragma once

#include "analysis/TextTable.h"

#include <QString>

namespace zlm {

/**
 * The text sections of a report as they are written, in order: headings,
 * paragraphs, monospaced lines, name/value facts and tables. TextPages lays
 * them out in pages.
 */
class ReportText {
public:
    void Heading(const QString& text);
    void Paragraph(const QString& text);
    /** Lines of monospaced text kept as they are. */
    void Preformatted(const QString& text);

    /** A two-column list of facts, its names in bold: BeginFacts, Fact for each, EndFacts. */
    void BeginFacts();
    void Fact(const QString& name, const QString& value, bool monospace = false);
    void EndFacts();

    /** A table with its header row repeated on every page it spans; a header's "(unit)" goes on a line of its own. */
    void Table(const TextTable& table);

    /** The sections as HTML for QTextDocument. */
    const QString& Html() const { return html_; }

private:
    QString html_;
};

} // namespace zlm
