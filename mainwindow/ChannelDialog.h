#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zlm {

/**
 * The channel selection window: asks which channel of a two-channel ERD file to
 * evaluate. Every showing starts with "Channel 1" selected; OK records the
 * selected option's index, any other way of closing records nothing.
 */
class ChannelDialog : public QDialog {
    Q_OBJECT

public:
    explicit ChannelDialog(QWidget* parent = nullptr);

    /** Index of the selected option: 0 for "Channel 1", 1 for "Channel 2". */
    std::int32_t SelectedChannel() const;

    /** The option button of the given index (0 or 1). */
    QRadioButton* OptChannel(int index) const;

    /**
     * Shows a fresh window modally and, when it is closed with OK, sets
     * channelChoice to the selected index; otherwise leaves it as it was.
     */
    static void AskChannel(std::int32_t& channelChoice, QWidget* parent = nullptr);

private:
    QLabel* prompt_ = nullptr;
    QRadioButton* optChannel_[2] = {nullptr, nullptr};
    QPushButton* okButton_ = nullptr;
};

} // namespace zlm
