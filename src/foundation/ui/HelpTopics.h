#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace qm {
namespace help {
Q_NAMESPACE

// The topics of the program's help. Each is one page, named after the topic
// ("DiaryViews.html"); the numbers are the ones screens have always carried.
enum class Topic {
    Contents = 0,
    DiaryViews = 1,
    Tasks = 7,
    AppointmentEditor = 9,
    Occasions = 17,
    AddressBook = 20,
    ContactEditor = 21,
    Notes = 30,
    Alarms = 40,
    Calculator = 50,
    Configuration = 60,
    Login = 70,
    ImportExport = 80,
    Sync = 90,
};
Q_ENUM_NS(Topic)

} // namespace help

using HelpTopic = help::Topic;

// Gives a page or form its help topic; its controls, and the forms it owns
// that have none of their own (the pickers of an editor), share it.
void SetHelpTopic(QWidget *widget, HelpTopic topic);
// The topic of widget or of the nearest widget above it, across the windows
// that own it; none when nothing on the way has one.
std::optional<HelpTopic> HelpTopicOf(const QWidget *widget);
// The page of a topic, as the help window loads it ("qrc:/help/Notes.html").
QString HelpPageUrl(HelpTopic topic);

} // namespace qm
