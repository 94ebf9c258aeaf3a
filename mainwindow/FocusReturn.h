#pragma once

#include <QPointer>
#include <QWidget>

namespace zlm {

/**
 * Gives the focus back to the control that started a command when the command
 * is over: disabling the commands meanwhile moves it away, and a command started
 * by its mnemonic had the focus elsewhere.
 */
class FocusReturn {
public:
    explicit FocusReturn(QWidget* origin) : origin_(origin) {}
    ~FocusReturn()
    {
        if (origin_ != nullptr && origin_->isEnabled() && !origin_->isHidden()) {
            origin_->setFocus(Qt::OtherFocusReason);
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> origin_;
};

} // namespace zlm
