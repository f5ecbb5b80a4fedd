#pragma once

#include <QString>
#include <QStringView>

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

// The line for an appointment, laid out as above.
QString AppointmentLine(const Appointment &appointment);

} // namespace qm
