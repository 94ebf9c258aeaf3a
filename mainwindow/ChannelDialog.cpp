#include "mainwindow/ChannelDialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zlm {

ChannelDialog::ChannelDialog(QWidget* parent) : ChannelDialog({"Channel 1", "Channel 2"}, 1, parent) {}

ChannelDialog::ChannelDialog(const std::vector<std::string>& names, ChannelNumber earlier, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("Dialog");
    setWindowTitle("Channel Selection");
    setModal(true);

    prompt_ = new QLabel("Please select a channel to evaluate:", this);
    prompt_->setObjectName("P");

    okButton_ = new QPushButton("&OK", this);
    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    // QDialog already rejects on Esc and on the window's close button.
    cancelButton_ = new QPushButton("&Cancel", this);
    cancelButton_->setObjectName("CancelButton");
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    auto* choices = new QVBoxLayout;
    layout->addLayout(choices, 1);
    layout->addLayout(buttons);
    if (names.size() <= 2) {
        BuildOptions(choices);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        BuildList(names, earlier, choices);
    }
}

void ChannelDialog::BuildOptions(QLayout* into)
{
    // One exclusive group, like the option buttons of one control array.
    auto* group = new QButtonGroup(this);
    const char* captions[2] = {"Channel 1", "Channel 2"};
    for (int i = 0; i < 2; ++i) {
        optChannel_[i] = new QRadioButton(captions[i], this);
        optChannel_[i]->setObjectName("optChannel");
        optChannel_[i]->setProperty("index", i);
        group->addButton(optChannel_[i], i);
        into->addWidget(optChannel_[i]);
    }
    optChannel_[0]->setChecked(true);
    into->setContentsMargins(20, 0, 0, 0);
}

void ChannelDialog::BuildList(const std::vector<std::string>& names, ChannelNumber earlier, QLayout* into)
{
    channelList_ = new QListWidget(this);
    channelList_->setObjectName("lstChannel");
    channelList_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t k = 0; k < names.size(); ++k) {
        const QString number = QString::number(k + 1);
        // A file may name some channels and not others; an unnamed one is still listed.
        const QString name = names[k].empty() ? "Channel " + number : QString::fromStdString(names[k]);
        channelList_->addItem(number + ": " + name);
    }
    const int earlierRow = earlier - 1;
    channelList_->setCurrentRow(earlierRow >= 0 && earlierRow < channelList_->count() ? earlierRow : 0);
    connect(channelList_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    into->addWidget(channelList_);
    // Up to about a dozen channels show without scrolling; the window may be resized for more.
    const int rowHeight = channelList_->sizeHintForRow(0);
    const int shown = std::min(channelList_->count(), 12);
    channelList_->setMinimumHeight(rowHeight * std::min(channelList_->count(), 4) + 2 * channelList_->frameWidth());
    resize(std::max(sizeHint().width(), 320), sizeHint().height() + rowHeight * shown);
    channelList_->setFocus();
}

ChannelNumber ChannelDialog::SelectedChannel() const
{
    if (channelList_ != nullptr) {
        return std::max(channelList_->currentRow(), 0) + 1;
    }
    return optChannel_[1]->isChecked() ? 2 : 1;
}

QRadioButton* ChannelDialog::OptChannel(int index) const
{
    return (index >= 0 && index < 2) ? optChannel_[index] : nullptr;
}

std::optional<ChannelNumber> ChannelDialog::AskChannel(QWidget* parent)
{
    return AskChannel({"Channel 1", "Channel 2"}, 1, parent);
}

std::optional<ChannelNumber> ChannelDialog::AskChannel(const std::vector<std::string>& names, ChannelNumber earlier,
                                                       QWidget* parent)
{
    ChannelDialog dialog(names, earlier, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.SelectedChannel();
}

} // namespace zlm
