#include "mainwindow/ChannelDialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zlm {

ChannelDialog::ChannelDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("Dialog");
    setWindowTitle("Channel Selection");
    setModal(true);

    prompt_ = new QLabel("Please select a channel to evaluate:", this);
    prompt_->setObjectName("P");

    // One exclusive group, like the option buttons of one control array.
    auto* group = new QButtonGroup(this);
    const char* captions[2] = {"Channel 1", "Channel 2"};
    for (int i = 0; i < 2; ++i) {
        optChannel_[i] = new QRadioButton(captions[i], this);
        optChannel_[i]->setObjectName("optChannel");
        optChannel_[i]->setProperty("index", i);
        group->addButton(optChannel_[i], i);
    }
    optChannel_[0]->setChecked(true);

    okButton_ = new QPushButton("&OK", this);
    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    // QDialog already rejects on Esc and on the window's close button.
    cancelButton_ = new QPushButton("&Cancel", this);
    cancelButton_->setObjectName("CancelButton");
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* options = new QVBoxLayout;
    options->setContentsMargins(20, 0, 0, 0);
    options->addWidget(optChannel_[0]);
    options->addWidget(optChannel_[1]);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addLayout(options);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

Channel ChannelDialog::SelectedChannel() const
{
    return optChannel_[1]->isChecked() ? Channel::Two : Channel::One;
}

QRadioButton* ChannelDialog::OptChannel(int index) const
{
    return (index >= 0 && index < 2) ? optChannel_[index] : nullptr;
}

std::optional<Channel> ChannelDialog::AskChannel(QWidget* parent)
{
    ChannelDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.SelectedChannel();
}

} // namespace zlm
