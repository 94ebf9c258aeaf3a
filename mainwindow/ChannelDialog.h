#pragma once

#include "profile_input/Channel.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zlm {

/**
 * The channel selection window: asks which channel of a file of several
 * channels to evaluate. For two channels it shows the option buttons "Channel 1"
 * and "Channel 2", and every showing starts with "Channel 1" selected. For more,
 * it lists every channel as "k: name", starting at the earlier choice when the
 * file has it, else at the first. OK (or a double click on a listed channel)
 * answers the selected channel; Cancel (also Esc, or closing the window) answers
 * nothing, which abandons the open.
 */
class ChannelDialog : public QDialog {
    Q_OBJECT

public:
    /** The window for a two-channel file. */
    explicit ChannelDialog(QWidget* parent = nullptr);

    /**
     * The window for a file whose channels are `names` (in order): two or fewer
     * show the option buttons, more the list, with `earlier` selected when in range.
     */
    ChannelDialog(const std::vector<std::string>& names, ChannelNumber earlier, QWidget* parent = nullptr);

    /** The channel selected: 1 for "Channel 1" or the first listed, and so on. */
    ChannelNumber SelectedChannel() const;

    /** The option button of the given index (0 or 1); null when the window shows the list. */
    QRadioButton* OptChannel(int index) const;

    /** The list of channels (object name "lstChannel"); null when the window shows option buttons. */
    QListWidget* ChannelList() const { return channelList_; }

    /**
     * Shows a fresh two-channel window modally and returns the selected channel
     * when it is closed with OK; cancelled or closed any other way, it returns nothing.
     */
    static std::optional<ChannelNumber> AskChannel(QWidget* parent = nullptr);

    /** As AskChannel(parent), for a file whose channels are `names`. */
    static std::optional<ChannelNumber> AskChannel(const std::vector<std::string>& names, ChannelNumber earlier,
                                                   QWidget* parent = nullptr);

private:
    void BuildOptions(QLayout* into);
    void BuildList(const std::vector<std::string>& names, ChannelNumber earlier, QLayout* into);

    QLabel* prompt_ = nullptr;
    QRadioButton* optChannel_[2] = {nullptr, nullptr};
    QListWidget* channelList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace zlm
