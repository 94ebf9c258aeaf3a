#pragma once

#include <QLabel>

namespace zlm {

/**
 * A label that works as a link: underlined in the palette's link colour, with a
 * pointing hand over it. It takes the focus with Tab (and shows a focus frame
 * while it has it) and is activated by a left click, Enter or Space.
 */
class LinkLabel final : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    /** The link was clicked, or Enter or Space was pressed on it. */
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zlm
