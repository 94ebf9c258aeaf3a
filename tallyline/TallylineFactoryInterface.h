#pragma once

#include <QString>
#include <QStringList>
#include <QtPlugin>

class QWidget;

/** The class name under which hosts create the fill bar control. */
inline constexpr char kTallylineClassName[] = "Corvane_Tallyline.Tallyline";

/** The control library's name and description, as its plugin metadata carries them. */
inline constexpr char kTallylineLibraryName[] = "Corvane_Tallyline";
inline constexpr char kTallylineLibraryDescription[] = "Corvane Tallyline Control";

/**
 * The class factory of the Tallyline control library. A host loads the library
 * with QPluginLoader, casts the root object to this interface and creates
 * controls by class name. The host needs this header only: it drives a created
 * control through the control's meta-object (properties and invokable methods
 * by name), never through the control's C++ class.
 */
class TallylineFactoryInterface {
public:
    virtual ~TallylineFactoryInterface() = default;

    /** Returns the class names this library can create. */
    virtual QStringList ClassNames() const = 0;

    /**
     * Creates a control of the given class as a child of parent, or returns
     * nullptr when the library has no class of that name. The parent owns the
     * control.
     */
    virtual QWidget* Create(const QString& className, QWidget* parent) = 0;
};

#define TallylineFactoryInterface_iid "org.zlm.Corvane_Tallyline.ControlFactory/1.0"
Q_DECLARE_INTERFACE(TallylineFactoryInterface, TallylineFactoryInterface_iid)
