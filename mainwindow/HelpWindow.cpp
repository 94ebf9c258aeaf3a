#include "mainwindow/HelpWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

// The guide's resources live in this static library; a program that links it
// keeps them only when something refers to their initialiser.
static void InitialiseGuideResources()
{
    Q_INIT_RESOURCE(guide);
}

namespace zlm {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    InitialiseGuideResources();
    setObjectName("HelpWindow");
    setWindowTitle("ZLM User Guide");

    backButton_ = new QPushButton("&Back", this);
    backButton_->setObjectName("cmdBack");
    forwardButton_ = new QPushButton("&Forward", this);
    forwardButton_->setObjectName("cmdForward");
    contentsButton_ = new QPushButton("&Contents", this);
    contentsButton_->setObjectName("cmdContents");
    for (QPushButton* button : {backButton_, forwardButton_, contentsButton_}) {
        button->setAutoDefault(false);
    }
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    // Every page and picture is inside the program: nothing is fetched from elsewhere.
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backButton_);
    buttons->addWidget(forwardButton_);
    buttons->addWidget(contentsButton_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contentsButton_, &QPushButton::clicked, this, [this] { ShowPage(QString::fromLatin1(kContentsPage)); });
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QPushButton::setEnabled);

    // Room for the guide's pictures and about 100 characters of text, in any
    // font, but never larger than the screen.
    const QFontMetrics metrics(font());
    QSize size(std::max(metrics.averageCharWidth() * 100, 760), std::max(metrics.lineSpacing() * 40, 640));
    if (const QScreen* shown = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(shown->availableGeometry().size() * 9 / 10);
    }
    resize(size);
    browser_->setFocus();
}

void HelpWindow::ShowPage(const QString& page)
{
    browser_->setSource(PageUrl(page));
}

QTextBrowser* HelpWindow::Browser() const
{
    return browser_;
}

QUrl HelpWindow::PageUrl(const QString& page)
{
    return QUrl(QStringLiteral("qrc:/guide/") + page);
}

HelpWindow* HelpWindow::ShowFor(QWidget* owner, const QString& page)
{
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    HelpWindow* help =
        window != nullptr ? window->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (help == nullptr) {
        help = new HelpWindow(window);
        if (window == nullptr) {
            // No owner to go with: the window goes when it is closed.
            help->setAttribute(Qt::WA_DeleteOnClose);
        }
    }
    help->ShowPage(page);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zlm
