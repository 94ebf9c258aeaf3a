#pragma once

#include "mainwindow/UserDialogs.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zlm::test {

/** Answers every dialog of the windows as the test says, and records what was asked. */
class FakeUserDialogs final : public UserDialogs {
public:
    struct Message {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    // Answers.
    QStringList openAnswers; ///< one per question, in order; none left means Cancel
    QString saveAnswer;      ///< empty means Cancel
    int saveFilterAnswer = 1;
    QMessageBox::StandardButton messageAnswer = QMessageBox::Ok;
    std::optional<ChannelNumber> channelAnswer = 1; ///< as OK at once; nothing: the window is cancelled
    std::optional<DelimitedUnits> unitsAnswer;      ///< as OK at once; nothing: the window is cancelled

    // What was asked.
    int openAsked = 0;
    QString openTitle, openFilter, openSuffix, openFolder;
    int saveAsked = 0;
    QString saveTitle;
    QStringList saveFilters;
    int channelAsked = 0;
    std::vector<std::string> channelNames; ///< the channels the window was last shown
    ChannelNumber channelEarlier = 1;
    int unitsAsked = 0;
    NeededUnits unitsNeeded;
    std::vector<Message> messages;

    QString AskOpenFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                        const QString& startFolder) override
    {
        ++openAsked;
        openFolder = startFolder;
        openTitle = title;
        openFilter = filter;
        openSuffix = defaultSuffix;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString AskSaveFile(const QString& title, const QStringList& filters, int& filterIndex) override
    {
        ++saveAsked;
        saveTitle = title;
        saveFilters = filters;
        filterIndex = saveFilterAnswer;
        return saveAnswer;
    }
    QMessageBox::StandardButton ShowMessage(const QString& title, const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons) override
    {
        messages.push_back({title, text, icon, buttons});
        return messageAnswer;
    }
    std::optional<ChannelNumber> AskChannel(const std::vector<std::string>& names, ChannelNumber earlier) override
    {
        ++channelAsked;
        channelNames = names;
        channelEarlier = earlier;
        return channelAnswer;
    }
    std::optional<DelimitedUnits> AskDelimitedUnits(const DelimitedProbeResult&, const NeededUnits& needed) override
    {
        ++unitsAsked;
        unitsNeeded = needed;
        return unitsAnswer;
    }
};

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** A column-text profile: 11 header lines, then one elevation per line at 0.25 ft. */
inline QByteArray ColumnText(const QByteArray& title, const QByteArray& units, const QByteArray& offset,
                             const std::vector<double>& elevations)
{
    auto labelled = [](QByteArray label, const QByteArray& value) { return label.leftJustified(16, ' ') + value; };
    QList<QByteArray> lines = {labelled("Title:", title),
                               labelled("Operator:", "J. Doe"),
                               labelled("Date:", "2005-06-01"),
                               labelled("Units:", units),
                               labelled("Interval (ft):", "0.250"),
                               labelled("Offset:", offset),
                               labelled("Speed:", "45"),
                               labelled("Points:", QByteArray::number(static_cast<int>(elevations.size()))),
                               labelled("Comment:", "none"),
                               "Station            Elevation",
                               "-----------------------------------"};
    for (std::size_t i = 0; i < elevations.size(); ++i) {
        const QByteArray station = QByteArray::number(0.25 * static_cast<double>(i), 'f', 2).leftJustified(18, ' ');
        lines.push_back(station + QByteArray::number(elevations[i], 'f', 4).rightJustified(9, ' '));
    }
    return lines.join("\r\n") + "\r\n";
}

/** A one-channel ERD profile at dx feet. */
inline QByteArray ErdText(const QByteArray& title, double dx, const std::vector<double>& elevations)
{
    QByteArray text = "ERDFILEV2.00\r\n1," + QByteArray::number(static_cast<int>(elevations.size())) + ",0,0,0," +
                      QByteArray::number(dx, 'f', 4) + "\r\nTITLE   " + title + "\r\nUNITSNAMft\r\nEND\r\n";
    for (double z : elevations) {
        text += QByteArray::number(z, 'f', 5) + "\r\n";
    }
    return text;
}

/** A road with a dip every 24 ft: 129 points at 0.25 ft per 32 ft, repeated. */
inline std::vector<double> BumpyRoad(int points)
{
    std::vector<double> z(static_cast<std::size_t>(points), 0.0);
    for (int i = 0; i < points; ++i) {
        if (i % 96 == 16) {
            z[static_cast<std::size_t>(i)] = -0.05;
        }
    }
    return z;
}

/** Runs `action` on the modal window that opens next, once it is up. */
inline void WhenModalOpens(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

} // namespace zlm::test
