#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

/**
 * The dispatch interface _Tallyline of the fill bar control: every member with
 * its dispatch identifier and its documentation string. Hosts that bind by
 * identifier look the member's name up here and then reach it through the
 * control's meta-object (a property, or an invokable method for Refresh).
 */
namespace TallylineDispatch {

enum class MemberKind { Property, Method };

struct Member {
    const char* name;
    qint32 id;
    MemberKind kind;
    const char* documentation; // empty when the member has none
};

inline constexpr std::array<Member, 7> kMembers{{
    {"TextVisible", 0x68030000, MemberKind::Property, ""},
    {"TextFont", 0x68030001, MemberKind::Property, "Returns a Font object."},
    {"TextColor", 0x68030002, MemberKind::Property,
     "Returns/sets the foreground color used to display text and graphics in an object."},
    {"BarColor", 0x68030003, MemberKind::Property,
     "Returns/sets the color used to fill in shapes, circles, and boxes."},
    {"Value", 0x68030004, MemberKind::Property, ""},
    {"Enabled", 0x68030005, MemberKind::Property,
     "Returns/sets a value that determines whether an object can respond to user-generated events."},
    {"Refresh", 0x60030006, MemberKind::Method, "Forces a complete repaint of a object."},
}};

/** Returns the member called name, matched without regard to case, or nullptr. */
inline const Member* FindByName(const QString& name)
{
    for (const Member& m : kMembers) {
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0)
            return &m;
    }
    return nullptr;
}

/** Returns the member with dispatch identifier id, or nullptr. */
inline const Member* FindById(qint32 id)
{
    for (const Member& m : kMembers) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

} // namespace TallylineDispatch
