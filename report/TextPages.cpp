#include "report/TextPages.h"

#include "report/ReportStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>

namespace zlm {

TextPages::TextPages(const ReportText& text, QPaintDevice& device, const QSizeF& body)
{
    document_.setDefaultFont(ReportFont(9));
    document_.documentLayout()->setPaintDevice(&device);
    document_.setDocumentMargin(0.0);
    // Numbers and headers are never split inside a word; long paths break at their "/".
    QTextOption option = document_.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    document_.setDefaultTextOption(option);
    document_.setHtml(text.Html());
    document_.setPageSize(body);
}

int TextPages::Count() const
{
    return document_.pageCount();
}

void TextPages::Draw(QPainter& painter, int page, const QRectF& body)
{
    const QRectF window(0.0, page * document_.pageSize().height(), body.width(), body.height());
    painter.save();
    painter.translate(body.topLeft());
    painter.setClipRect(QRectF(QPointF(0.0, 0.0), body.size()));
    painter.translate(0.0, -window.top());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = window;
    context.palette.setColor(QPalette::Text, Qt::black);
    document_.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace zlm
