#pragma once

#include "TallylineFactoryInterface.h"

#include <QObject>

/**
 * The plugin's root object: the class factory of the Tallyline control library.
 * It creates Tallyline controls for the class name "Corvane_Tallyline.Tallyline".
 */
class TallylineFactory : public QObject, public TallylineFactoryInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TallylineFactoryInterface_iid FILE "tallyline.json")
    Q_INTERFACES(TallylineFactoryInterface)

public:
    QStringList ClassNames() const override;
    QWidget* Create(const QString& className, QWidget* parent) override;
};
