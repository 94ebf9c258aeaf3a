#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zlm {

/** XMP metadata naming the document, its creator and its dates, fixed by the analysis time rather than the clock. */
QByteArray XmpMetadata(const QString& title, const QString& creator, std::int64_t seconds);

/**
 * Qt stamps the document with the clock's time and a random identifier. Both
 * are replaced in place by texts of the same length (so the cross-reference
 * offsets stay right): the time by the analysis time `seconds`, the identifier
 * by a hash of the document, so that the same report is the same bytes.
 */
void FixVaryingStamps(QByteArray& pdf, std::int64_t seconds);

} // namespace zlm
