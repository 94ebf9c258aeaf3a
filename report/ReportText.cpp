#include "report/ReportText.h"

#include "report/ReportStyle.h"

namespace zlm {

namespace {

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString Escaped(const std::string& text)
{
    return ReportString(text).toHtmlEscaped();
}

} // namespace

void ReportText::Heading(const QString& text)
{
    html_ += QStringLiteral("<h3>") + Escaped(text) + QStringLiteral("</h3>");
}

void ReportText::Paragraph(const QString& text)
{
    html_ += QStringLiteral("<p>") + Escaped(text) + QStringLiteral("</p>");
}

void ReportText::Preformatted(const QString& text)
{
    html_ += QStringLiteral("<pre style='font-size: 8pt'>") + Escaped(text) + QStringLiteral("</pre>");
}

void ReportText::BeginFacts()
{
    html_ += QStringLiteral("<table cellspacing='0' cellpadding='2' width='100%'>");
}

void ReportText::Fact(const QString& name, const QString& value, bool monospace)
{
    html_ += QStringLiteral("<tr><td width='210'><b>") + Escaped(name) + QStringLiteral("</b></td><td>");
    html_ += monospace ? QStringLiteral("<tt>") + Escaped(value) + QStringLiteral("</tt>") : Escaped(value);
    html_ += QStringLiteral("</td></tr>");
}

void ReportText::EndFacts()
{
    html_ += QStringLiteral("</table>");
}

void ReportText::Table(const TextTable& table)
{
    html_ += QStringLiteral("<table border='1' cellspacing='0' cellpadding='2' width='100%' "
                            "style='border-collapse: collapse; border-color: #808080; font-size: 8pt'><thead><tr>");
    for (std::int32_t col = 0; col < table.Cols(); ++col) {
        QString header = Escaped(table.Cell(0, col));
        header.replace(QStringLiteral(" ("), QStringLiteral("<br>("));
        html_ += QStringLiteral("<th bgcolor='#e8e8e8'>") + header + QStringLiteral("</th>");
    }
    html_ += QStringLiteral("</tr></thead>");
    for (std::int32_t row = 1; row < table.Rows(); ++row) {
        html_ += QStringLiteral("<tr>");
        for (std::int32_t col = 0; col < table.Cols(); ++col)
            html_ += QStringLiteral("<td align='right'>") + Escaped(table.Cell(row, col)) + QStringLiteral("</td>");
        html_ += QStringLiteral("</tr>");
    }
    html_ += QStringLiteral("</table>");
}

} // namespace zlm
