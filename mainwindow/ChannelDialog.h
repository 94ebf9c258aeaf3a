#pragma once

#include "profile_input/Channel.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zlm {

/**
 * The channel selection window: asks which channel of a two-channel ERD file to
 * evaluate. Every showing starts with "Channel 1" selected; OK answers the
 * selected option's channel, Cancel (also Esc, or closing the window) answers
 * nothing, which abandons the open.
 */
class ChannelDialog : public QDialog {
    Q_OBJECT

public:
    explicit ChannelDialog(QWidget* parent = nullptr);

    /** The channel of the selected option: One for "Channel 1", Two for "Channel 2". */
    Channel SelectedChannel() const;

    /** The option button of the given index (0 or 1). */
    QRadioButton* OptChannel(int index) const;

    /**
     * Shows a fresh window modally and returns the selected channel when it is
     * closed with OK; cancelled or closed any other way, it returns nothing.
     */
    static std::optional<Channel> AskChannel(QWidget* parent = nullptr);

private:
    QLabel* prompt_ = nullptr;
    QRadioButton* optChannel_[2] = {nullptr, nullptr};
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace zlm
