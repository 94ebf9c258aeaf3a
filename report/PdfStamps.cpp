#include "report/PdfStamps.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>

namespace zlm {

namespace {

/** A PDF date of the analysis time ("D:20240601120000Z"). */
QByteArray PdfDate(std::int64_t seconds)
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return "D:" + at.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
}

} // namespace

QByteArray XmpMetadata(const QString& title, const QString& creator, std::int64_t seconds)
{
    const QString date = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate);
    const QString xmp =
        QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                       "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                       "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                       "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
                       "xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
                       "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
                       "<xmp:CreatorTool>%2</xmp:CreatorTool>\n"
                       "<xmp:CreateDate>%3</xmp:CreateDate>\n"
                       "<xmp:ModifyDate>%3</xmp:ModifyDate>\n"
                       "<xmp:MetadataDate>%3</xmp:MetadataDate>\n"
                       "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
            .arg(title.toHtmlEscaped(), creator.toHtmlEscaped(), date);
    return xmp.toUtf8();
}

void FixVaryingStamps(QByteArray& pdf, std::int64_t seconds)
{
    static const QRegularExpression creationDate(QStringLiteral("/CreationDate \\(D:(\\d{14})"));
    const QByteArray date = PdfDate(seconds).mid(2);
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch match = creationDate.match(QString::fromLatin1(pdf), from);
        if (!match.hasMatch())
            break;
        pdf.replace(match.capturedStart(1), 14, date);
        from = match.capturedEnd(1);
    }
    static const QRegularExpression documentId(QStringLiteral("/ID \\[\\s*<([0-9a-fA-F]+)>\\s*<([0-9a-fA-F]+)>"));
    const QRegularExpressionMatch id = documentId.match(QString::fromLatin1(pdf));
    if (!id.hasMatch())
        return;
    QByteArray withoutId = pdf;
    withoutId.replace(id.capturedStart(1), id.capturedLength(1), QByteArray(id.capturedLength(1), '0'));
    withoutId.replace(id.capturedStart(2), id.capturedLength(2), QByteArray(id.capturedLength(2), '0'));
    const QByteArray digest = QCryptographicHash::hash(withoutId, QCryptographicHash::Sha256).toHex();
    pdf.replace(id.capturedStart(1), id.capturedLength(1), digest.left(id.capturedLength(1)));
    pdf.replace(id.capturedStart(2), id.capturedLength(2), digest.left(id.capturedLength(2)));
}

} // namespace zlm
