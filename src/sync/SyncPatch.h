#pragma once

#include <QByteArray>

// Replacing an item on the server with an edited record without losing what
// the record files have no place for: the server's item keeps everything but
// what the record holds, which is taken from the body made of the record.
namespace qm {

// remote: the server's iCalendar item; ours: the one made of the record line
// (with the server's UID). Its event or to-do keeps the server's other
// properties (location, notes, attendees, categories...) and takes ours for
// the summary, times, due date, priority, status, repeat rule and alarms.
// ours when the server's cannot be read or holds another kind of item.
QByteArray PatchCalendarItem(const QByteArray &remote, const QByteArray &ours);

// The same for a vCard: the server's card keeps the properties the address
// book has no place for (notes, web addresses, a photo, further numbers...).
QByteArray PatchContactItem(const QByteArray &remote, const QByteArray &ours);

} // namespace qm
