#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>

// One appointment is one line of "Diary.Qmt":
//   yyyymmdd ÿ HH:MM ÿ HH:MM ÿ description ÿ reminder minutes ÿ Y|N
// (ÿ being the separator byte 0xFF). The first 21 columns have fixed places,
// so lines sort by date, start, end and then description.
namespace qm {

struct Appointment {
    QString date;        // sortable form, yyyymmdd
    QString start;       // HH:MM
    QString end;         // HH:MM
    QString description; // as typed, at most MaxDescriptionLength characters
    int reminder = 0;    // minutes before the start; 0 means no reminder
    bool tentative = false;
};

inline constexpr int MaxDescriptionLength = 75;

// The fields of a line as every reader takes them. Any line is accepted: a
// short or malformed line gives empty or partial fields, never an error.
Appointment ReadAppointment(const QString &line);

// The same fields as views into the line, for readers that go through many
// lines and need not copy them. Valid while the line is.
struct AppointmentFields {
    QStringView date;
    QStringView start;
    QStringView end;
    QStringView description;
    QStringView reminder;
    bool tentative = false;
};
AppointmentFields ReadAppointmentFields(QStringView line);

// The positions [first, last) of the lines of a sorted store dated from
// `from` to `to` (yyyymmdd, digits only), found by binary search. The store is
// in order of its lines, letters without regard to case, so it is in order of
// their first eight characters too, and against digits that order and the
// plain text order agree: the range holds exactly the lines whose first eight
// characters lie from `from` to `to` as text.
std::pair<qsizetype, qsizetype> LinesDated(const QStringList &sorted, const QString &from,
                                           const QString &to);

// The line for an appointment, laid out as above.
QString AppointmentLine(const Appointment &appointment);

} // namespace qm
