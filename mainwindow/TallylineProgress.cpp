#include "mainwindow/TallylineProgress.h"

#include "tallyline/TallylineFactoryInterface.h"
#include "tallyline/TallylinePropertyBag.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <QSizePolicy>
#include <QtDebug>

#include <cmath>

namespace {

// The host's saved extents of Tallyline1, in hundredths of a millimetre.
constexpr int kExtentX = 12303;
constexpr int kExtentY = 238;

// BarColor red 255, green 192, blue 128, with red in the low byte.
constexpr quint32 kBarColor = 255u | (192u << 8) | (128u << 16);

int HundredthsMmToPixels(int hundredths, int dpi)
{
    return static_cast<int>(std::nearbyint(hundredths / 2540.0 * dpi));
}

QVariantMap SavedState()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setItalic(false);

    TallylinePropertyBag bag;
    bag.Write(QStringLiteral("BarColor"), kBarColor);
    bag.Write(QStringLiteral("TextFont"), font);
    bag.Write(QStringLiteral("TextVisible"), false);
    bag.Write(QStringLiteral("_ExtentX"), kExtentX);
    bag.Write(QStringLiteral("_ExtentY"), kExtentY);
    return bag.Entries();
}

// Reads the plugin's metadata without loading it, so that only a library that
// declares the class is ever loaded.
bool DeclaresClass(const QPluginLoader& loader)
{
    const QJsonObject meta = loader.metaData();
    if (meta.value(QLatin1String("IID")).toString() != QLatin1String(TallylineFactoryInterface_iid))
        return false;
    const QJsonArray classes =
        meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("Classes")).toArray();
    return classes.contains(QLatin1String(kTallylineClassName));
}

} // namespace

TallylineProgress::TallylineProgress(QWidget* host) : TallylineProgress(host, DefaultSearchFolders()) {}

TallylineProgress::TallylineProgress(QWidget* host, const QStringList& searchFolders)
{
    Load(host, searchFolders);
}

QStringList TallylineProgress::DefaultSearchFolders()
{
    QStringList folders;
    const QString overrides = qEnvironmentVariable("ZLM_PLUGIN_PATH");
    if (!overrides.isEmpty())
        folders += overrides.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders += QCoreApplication::applicationDirPath() + QStringLiteral("/zlm-plugins");
#ifdef ZLM_PLUGIN_INSTALL_PATH
    folders += QStringLiteral(ZLM_PLUGIN_INSTALL_PATH);
#endif
#ifdef ZLM_PLUGIN_RELATIVE_PATH
    const QString relative = QStringLiteral(ZLM_PLUGIN_RELATIVE_PATH);
#else
    const QString relative = QStringLiteral("../lib/zlm/plugins");
#endif
    const QString besideInstall = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative);
    if (!folders.contains(besideInstall))
        folders += besideInstall;
    return folders;
}

void TallylineProgress::Load(QWidget* host, const QStringList& searchFolders)
{
    for (const QString& folder : searchFolders) {
        const QDir dir(folder);
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        for (const QString& file : files) {
            if (!QLibrary::isLibrary(file))
                continue;
            QPluginLoader loader(dir.absoluteFilePath(file));
            if (!DeclaresClass(loader))
                continue;
            auto* factory = qobject_cast<TallylineFactoryInterface*>(loader.instance());
            if (!factory)
                continue;
            QWidget* control = factory->Create(QString::fromLatin1(kTallylineClassName), host);
            if (!control)
                continue;
            control->setObjectName(QStringLiteral("Tallyline1"));
            control->hide();
            QMetaObject::invokeMethod(control, "ReadProperties", Q_ARG(QVariantMap, SavedState()));
            const int width = HundredthsMmToPixels(kExtentX, control->logicalDpiX());
            const int height = HundredthsMmToPixels(kExtentY, control->logicalDpiY());
            // The host stretches the bar along its bottom edge; its height stays as designed.
            control->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            control->setFixedHeight(height);
            control->resize(width, height);
            control_ = control;
            return;
        }
    }
    qWarning().noquote() << "ZLM: the Tallyline progress bar plugin was not found in"
                         << searchFolders.join(QStringLiteral(", ")) << "- running without a progress bar.";
}

void TallylineProgress::SetTextVisible(bool visible)
{
    if (!control_)
        return;
    control_->setProperty("TextVisible", visible);
    stale_ = true;
}

void TallylineProgress::SetVisible(bool visible)
{
    if (!control_)
        return;
    control_->setVisible(visible);
    stale_ = true;
}

void TallylineProgress::SetValue(std::int16_t percent)
{
    if (!control_)
        return;
    control_->setProperty("Value", QVariant::fromValue<qint16>(percent));
    value_ = percent;
}

void TallylineProgress::Refresh()
{
    if (!control_)
        return;
    // The engine refreshes after every placement; most calls change nothing on screen.
    if (!stale_ && value_ == paintedValue_)
        return;
    QMetaObject::invokeMethod(control_.data(), "Refresh");
    paintedValue_ = value_;
    stale_ = false;
}
