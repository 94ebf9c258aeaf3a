#pragma once

#include "mainwindow/UserDialogs.h"

#include <QPointer>
#include <QWidget>

namespace zlm {

/** The real dialogs: QFileDialog, QMessageBox, the channel selection window and the units window. */
class QtUserDialogs final : public UserDialogs {
public:
    /** Dialogs are centred over `owner` (may be null). */
    explicit QtUserDialogs(QWidget* owner = nullptr);

    QString AskOpenFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                        const QString& startFolder) override;
    QString AskSaveFile(const QString& title, const QStringList& filters, int& filterIndex) override;
    QMessageBox::StandardButton ShowMessage(const QString& title, const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons) override;
    std::optional<ChannelNumber> AskChannel(const std::vector<std::string>& names, ChannelNumber earlier) override;
    std::optional<DelimitedUnits> AskDelimitedUnits(const DelimitedProbeResult& probe,
                                                    const NeededUnits& needed) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace zlm
