#include "mainwindow/HelpWindow.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

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

    // About 80 characters of text wide and 36 lines high, whatever the font.
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 40);
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
