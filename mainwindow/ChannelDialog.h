#pragma once

#include "profile_input/Channel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zlm {

/**
 * The channel selection window: asks which channel of a two-channel ERD file to
 * evaluate. Every showing starts with "Channel 1" selected; OK records the
 * selected option's channel, any other way of closing records nothing.
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
     * closed with OK; closed any other way, it returns `earlier`.
     */
    static Channel AskChannel(Channel earlier, QWidget* parent = nullptr);

private:
    QLabel* prompt_ = nullptr;
    QRadioButton* optChannel_[2] = {nullptr, nullptr};
    QPushButton* okButton_ = nullptr;
};

} // namespace zlm
