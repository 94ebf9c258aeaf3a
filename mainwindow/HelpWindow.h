#pragma once

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace zlm {

/**
 * The user guide window ("ZLM User Guide"): the guide that ships inside the
 * program (docs/guide, compiled in as the resource folder ":/guide") in a
 * QTextBrowser, with Back, Forward and Contents. It is a window of its own and
 * not modal, so that the guide can stay open beside the window it explains; it
 * closes with the window that owns it, and Esc closes it.
 */
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    /** The guide's first page. */
    static constexpr const char* kContentsPage = "index.html";

    /** A guide window owned by `owner` (its own top-level window, kept above the owner). */
    explicit HelpWindow(QWidget* owner = nullptr);

    /** Shows `page`, a file of the guide with an optional "#anchor" ("graph.html#keys"). */
    void ShowPage(const QString& page);

    /** The browser showing the guide. */
    QTextBrowser* Browser() const;

    /** The address of a page of the guide ("qrc:/guide/" + page). */
    static QUrl PageUrl(const QString& page);

    /**
     * Shows the guide at `page` for `owner`'s window: that window's guide window
     * when it has one (raised again), else a new one. Returns the window shown.
     */
    static HelpWindow* ShowFor(QWidget* owner, const QString& page = QString::fromLatin1(kContentsPage));

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QPushButton* contentsButton_ = nullptr;
};

} // namespace zlm
