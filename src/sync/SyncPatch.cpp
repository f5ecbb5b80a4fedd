#include "sync/SyncPatch.h"

#include "exchange/IcalSupport.h"

#include <QList>
#include <QSet>

namespace qm {

namespace {

// Items larger than this are not an appointment, a task or a contact anyone
// typed: they are replaced rather than read.
constexpr qsizetype MaxPatchedSize = 1024 * 1024;

bool Owned(icalproperty_kind kind) {
    switch (kind) {
    case ICAL_SUMMARY_PROPERTY:
    case ICAL_DTSTART_PROPERTY:
    case ICAL_DTEND_PROPERTY:
    case ICAL_DURATION_PROPERTY:
    case ICAL_DUE_PROPERTY:
    case ICAL_PRIORITY_PROPERTY:
    case ICAL_STATUS_PROPERTY:
    case ICAL_COMPLETED_PROPERTY:
    case ICAL_RRULE_PROPERTY:
    case ICAL_RDATE_PROPERTY:
    case ICAL_EXDATE_PROPERTY:
    case ICAL_TRANSP_PROPERTY:
    case ICAL_DTSTAMP_PROPERTY:
        return true;
    default:
        return false;
    }
}

icalcomponent *MainItem(icalcomponent *calendar) {
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if ((kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) &&
            !icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            return c;
    }
    return nullptr;
}

} // namespace

QByteArray PatchCalendarItem(const QByteArray &remote, const QByteArray &ours) {
    if (remote.isEmpty() || remote.size() > MaxPatchedSize)
        return ours;
    ical::PrepareLibical();
    ical::ComponentPtr theirs(icalparser_parse_string(remote.constData()));
    ical::ComponentPtr mine(icalparser_parse_string(ours.constData()));
    if (!theirs || !mine || icalcomponent_isa(theirs.get()) != ICAL_VCALENDAR_COMPONENT)
        return ours;
    icalcomponent *target = MainItem(theirs.get());
    icalcomponent *source = MainItem(mine.get());
    if (!target || !source || icalcomponent_isa(target) != icalcomponent_isa(source))
        return ours;
    // Other occurrences changed on the server belong to a repeat this record
    // no longer is.
    QList<icalcomponent *> drop;
    for (icalcomponent *c = icalcomponent_get_first_component(theirs.get(), ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(theirs.get(), ICAL_ANY_COMPONENT))
        if (c != target && icalcomponent_isa(c) == icalcomponent_isa(target))
            drop.append(c);
    for (icalcomponent *c : drop) {
        icalcomponent_remove_component(theirs.get(), c);
        icalcomponent_free(c);
    }
    QList<icalproperty *> old;
    for (icalproperty *p = icalcomponent_get_first_property(target, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(target, ICAL_ANY_PROPERTY))
        if (Owned(icalproperty_isa(p)))
            old.append(p);
    for (icalproperty *p : old) {
        icalcomponent_remove_property(target, p);
        icalproperty_free(p);
    }
    QList<icalcomponent *> alarms;
    for (icalcomponent *c = icalcomponent_get_first_component(target, ICAL_VALARM_COMPONENT); c;
         c = icalcomponent_get_next_component(target, ICAL_VALARM_COMPONENT))
        alarms.append(c);
    for (icalcomponent *c : alarms) {
        icalcomponent_remove_component(target, c);
        icalcomponent_free(c);
    }
    for (icalproperty *p = icalcomponent_get_first_property(source, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(source, ICAL_ANY_PROPERTY))
        if (Owned(icalproperty_isa(p)))
            icalcomponent_add_property(target, icalproperty_new_clone(p));
    for (icalcomponent *c = icalcomponent_get_first_component(source, ICAL_VALARM_COMPONENT); c;
         c = icalcomponent_get_next_component(source, ICAL_VALARM_COMPONENT))
        icalcomponent_add_component(target, icalcomponent_new_clone(c));
    // Our times name our zone: its definition goes along unless the server's
    // item has one of the same name.
    QSet<QByteArray> zones;
    for (icalcomponent *c =
             icalcomponent_get_first_component(theirs.get(), ICAL_VTIMEZONE_COMPONENT);
         c; c = icalcomponent_get_next_component(theirs.get(), ICAL_VTIMEZONE_COMPONENT))
        if (icalproperty *id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY))
            zones.insert(icalproperty_get_tzid(id));
    QList<icalcomponent *> added;
    for (icalcomponent *c = icalcomponent_get_first_component(mine.get(), ICAL_VTIMEZONE_COMPONENT);
         c; c = icalcomponent_get_next_component(mine.get(), ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty *id = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
        if (id && !zones.contains(icalproperty_get_tzid(id)))
            added.append(c);
    }
    for (icalcomponent *c : added)
        icalcomponent_add_component(theirs.get(), icalcomponent_new_clone(c));
    char *text = icalcomponent_as_ical_string_r(theirs.get());
    if (!text)
        return ours;
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

namespace {

// The card's content lines, unfolded.
QList<QByteArray> Unfolded(const QByteArray &card) {
    QList<QByteArray> lines;
    for (QByteArray line : card.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if ((line.startsWith(' ') || line.startsWith('\t')) && !lines.isEmpty())
            lines.last() += line.mid(1);
        else if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QByteArray NameOf(const QByteArray &line) {
    qsizetype end = 0;
    while (end < line.size() && line[end] != ':' && line[end] != ';')
        ++end;
    QByteArray name = line.left(end).toUpper();
    const qsizetype dot = name.indexOf('.');
    return dot >= 0 ? name.mid(dot + 1) : name;
}

// Folds a line at 75 octets without cutting a UTF-8 character.
void Fold(QByteArray &out, const QByteArray &line) {
    qsizetype start = 0;
    int limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74;
    }
    out += line.mid(start) + "\r\n";
}

} // namespace

QByteArray PatchContactItem(const QByteArray &remote, const QByteArray &ours) {
    if (remote.isEmpty() || remote.size() > MaxPatchedSize || ours.isEmpty())
        return ours;
    static const QSet<QByteArray> owned = {"BEGIN", "END",  "VERSION", "PRODID",     "UID",
                                           "N",     "FN",   "ORG",     "ADR",        "TEL",
                                           "EMAIL", "BDAY", "REV",     "CATEGORIES", "LABEL"};
    const QList<QByteArray> theirs = Unfolded(remote);
    // One card, of a version whose lines a 3.0 card can carry.
    if (theirs.count("BEGIN:VCARD") != 1 || theirs.contains("VERSION:2.1"))
        return ours;
    QList<QByteArray> kept;
    bool inCard = false;
    QByteArray uid;
    for (const QByteArray &line : theirs) {
        const QByteArray name = NameOf(line);
        if (line.toUpper() == "BEGIN:VCARD")
            inCard = true;
        else if (line.toUpper() == "END:VCARD")
            inCard = false;
        else if (inCard && name == "UID")
            uid = line;
        else if (inCard && !owned.contains(name))
            kept.append(line);
    }
    QByteArray out;
    for (const QByteArray &line : Unfolded(ours)) {
        if (line == "END:VCARD")
            for (const QByteArray &other : std::as_const(kept))
                Fold(out, other);
        Fold(out, NameOf(line) == "UID" && !uid.isEmpty() ? uid : line);
    }
    return out;
}

} // namespace qm
