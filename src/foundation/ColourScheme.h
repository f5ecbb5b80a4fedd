#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The colour scheme every form is painted with, and its file "Colours.Qmt".
namespace qm {

// A colour as the program stores it: red in the low byte, then green, then
// blue (0x00BBGGRR). A top byte of 0xFF names a system colour by its index in
// the low byte instead (0xFF000005 is the window background).
using ColourValue = quint32;

inline constexpr ColourValue SystemColourFlag = 0xFF000000u;
inline constexpr ColourValue SystemWindowColour = 0xFF000005u;
inline constexpr ColourValue SystemWindowTextColour = 0xFF000008u;
inline constexpr ColourValue SystemButtonFaceColour = 0xFF00000Fu;

constexpr bool IsSystemColour(ColourValue colour) {
    return (colour & 0xFF000000u) == SystemColourFlag;
}

// The fields in the order of the lines of "Colours.Qmt".
struct ColourScheme {
    QString ColourStyle; // "CLASSIC", "ORANGE", "BLUE" or "GREY"
    ColourValue PanelColour1 = 0;
    ColourValue PanelEndColour1 = 0;
    ColourValue PanelColour2 = 0;
    ColourValue PanelEndColour2 = 0;
    ColourValue PanelColour3 = 0;
    ColourValue PanelEndColour3 = 0;
    ColourValue PanelColour4 = 0;
    ColourValue PanelColour5 = 0;
    ColourValue ListColour = 0;
    ColourValue FieldColour = 0;
    ColourValue SpareColour = 0; // kept and set by every scheme; nothing paints with it
    int ShadowFlag = 1;          // drop shadows on (1) or off (0)

    bool operator==(const ColourScheme &) const = default;

    // The colour of panels of role 1 to 5; nullopt for any other role, which
    // leaves a panel's own colour alone.
    std::optional<ColourValue> panelColour(int role) const;
    // The gradient end of gradient panels of role 1 to 3.
    std::optional<ColourValue> panelEndColour(int role) const;
};

inline const QString ColoursFileName = QStringLiteral("Colours.Qmt");

inline const QString ClassicStyle = QStringLiteral("CLASSIC");
inline const QString OrangeStyle = QStringLiteral("ORANGE");
inline const QString BlueStyle = QStringLiteral("BLUE");
inline const QString GreyStyle = QStringLiteral("GREY");

// The four schemes the configuration page offers, by name; nullopt for any
// other name.
std::optional<ColourScheme> NamedColourScheme(const QString &style);
ColourScheme ClassicColourScheme();
ColourScheme OrangeColourScheme();
ColourScheme BlueColourScheme();
ColourScheme GreyColourScheme();

// The scheme used until "Colours.Qmt" says otherwise: "GREY" on a 256-colour
// screen (colourMode "256"), "CLASSIC" otherwise; drop shadows on in both.
ColourScheme DefaultColourScheme(const QString &colourMode);

// "HI" or "256": how many colours the screen shows, decided once at start-up.
// Until then "HI".
QString ColourMode();
void SetColourMode(const QString &mode);

// The scheme every form is styled with; lives for the whole run.
const ColourScheme &CurrentColourScheme();
void SetCurrentColourScheme(const ColourScheme &scheme);

// The thirteen lines of the file: the name, eleven colours and the flag, the
// numbers in signed decimal (system colours come out negative).
QStringList ColourSchemeLines(const ColourScheme &scheme);
// The scheme in the lines of a file. Lines 2 to 13 must be whole numbers; a
// line that is not, or a line missing because the file is short, raises
// ConversionError naming fileForReport.
ColourScheme ParseColourSchemeLines(const QStringList &lines, const QString &fileForReport = {});

// Reads the scheme from the file at path; when there is no file, creates it
// from defaults and returns those. Raises FileError / ConversionError.
ColourScheme ReadOrCreateColourScheme(const QString &path, const ColourScheme &defaults);

// The start-up step: the default scheme for ColourMode(), then "Colours.Qmt"
// in the data folder read, or created from that default, and made current.
// When reading fails the default stays current and the error propagates.
void LoadColourScheme();

} // namespace qm
