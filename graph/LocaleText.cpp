#include "graph/LocaleText.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>

namespace zlm {

QString FromCoreText(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str(), static_cast<qsizetype>(text.size()));
}

std::string ToFileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromFileName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

char LocaleDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > 0 && point.at(0).unicode() < 128) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

} // namespace zlm
