#include "mainwindow/frmAbout.h"

#include "mainwindow/StraightedgePicture.h"
#include "mainwindow/UserDialogs.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#ifndef ZLM_VERSION_MAJOR
#error "The build defines ZLM_VERSION_MAJOR, ZLM_VERSION_MINOR and ZLM_VERSION_PATCH from the project version."
#endif

namespace zlm {

namespace {

const char* const kDescription =
    "This program simulates a \"real-life\" 16-foot straightedge traversing a pavement profile.  The results "
    "display the stations, the maximum deviations from the straightedge, and the amount the deviations exceed "
    "the 0.25-inch criterion.";

} // namespace

frmAbout::frmAbout(UserDialogs& dialogs, QWidget* parent, SystemInfoTool sysInfo)
    : QDialog(parent), dialogs_(dialogs), sysInfo_(std::move(sysInfo))
{
    setObjectName("frmAbout");
    setWindowTitle("About ZLM");
    setModal(true);

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName("picIcon");
    picIcon_->setPixmap(DrawStraightedgePicture(QSize(144, 72)));
    picIcon_->setFixedSize(144, 72);

    lblTitle_ = new QLabel("Evenrule (ZLM)", this);
    lblTitle_->setObjectName("lblTitle");
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle_->setFont(titleFont);

    lblVersion_ = new QLabel(VersionText(), this);
    lblVersion_->setObjectName("lblVersion");

    lblDescription_ = new QLabel(kDescription, this);
    lblDescription_->setObjectName("lblDescription");
    lblDescription_->setWordWrap(true);
    lblDescription_->setMinimumWidth(320);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    cmdOK_ = new QPushButton("&OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    cmdSysInfo_ = new QPushButton("&System Info...", this);
    cmdSysInfo_->setObjectName("cmdSysInfo");
    cmdSysInfo_->setAutoDefault(false);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle_);
    texts->addWidget(lblVersion_);
    texts->addSpacing(8);
    texts->addWidget(lblDescription_);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdSysInfo_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(rule);
    layout->addLayout(bottom);
    resize(520, 260);
}

QString frmAbout::VersionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(ZLM_VERSION_MAJOR).arg(ZLM_VERSION_MINOR).arg(ZLM_VERSION_PATCH);
}

void frmAbout::cmdSysInfo_Click()
{
    if (!sysInfo_.StartSysInfo()) {
        dialogs_.ShowMessage(QString(), "System Information Is Unavailable At This Time", QMessageBox::NoIcon,
                             QMessageBox::Ok);
    }
}

} // namespace zlm
