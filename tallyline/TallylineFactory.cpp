#include "TallylineFactory.h"

#include "Tallyline.h"

QStringList TallylineFactory::ClassNames() const
{
    return {QString::fromLatin1(kTallylineClassName)};
}

QWidget* TallylineFactory::Create(const QString& className, QWidget* parent)
{
    if (className != QLatin1String(kTallylineClassName))
        return nullptr;
    return new Tallyline(parent);
}
