#pragma once

#include <QFont>
#include <QString>

#include <string>

namespace zlm {

/** Pages are laid out at screen resolution, as the graph measures its texts; the output stays vector. */
constexpr int kReportResolution = 96;
/** The running header's height at the top of every page's printable area, in layout pixels. */
constexpr double kReportHeaderHeight = 24.0;
/** The running footer's height at the bottom of every page's printable area. */
constexpr double kReportFooterHeight = 20.0;

/**
 * The program as the report names it: in the footer, the metadata and the
 * reproduction section (ZLM_VERSION is defined for the report library's files).
 */
inline QString ReportProgram()
{
    return QStringLiteral("Evenrule (ZLM) " ZLM_VERSION);
}

/**
 * The report's font. Without shaping no ligature replaces "fi" or "fl", so a
 * search for "profile" finds the word in the PDF.
 */
inline QFont ReportFont(int pointSize)
{
    QFont font(QStringLiteral("DejaVu Sans"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

/** A core text (UTF-8) as the report writes it. */
inline QString ReportString(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace zlm
