#include "foundation/ColourScheme.h"

#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

#include <QFileInfo>

#include <array>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

// Lines 2 to 12 of the file, in order.
constexpr std::array<ColourValue ColourScheme::*, 11> ColourFields = {
    &ColourScheme::PanelColour1,    &ColourScheme::PanelEndColour1, &ColourScheme::PanelColour2,
    &ColourScheme::PanelEndColour2, &ColourScheme::PanelColour3,    &ColourScheme::PanelEndColour3,
    &ColourScheme::PanelColour4,    &ColourScheme::PanelColour5,    &ColourScheme::ListColour,
    &ColourScheme::FieldColour,     &ColourScheme::SpareColour};

constexpr int SchemeLineCount = 13;

ColourScheme makeScheme(const QString &style, const std::array<ColourValue, 11> &colours,
                        int shadowFlag) {
    ColourScheme scheme;
    scheme.ColourStyle = style;
    for (std::size_t i = 0; i < ColourFields.size(); ++i)
        scheme.*ColourFields[i] = colours[i];
    scheme.ShadowFlag = shadowFlag;
    return scheme;
}

QString g_colourMode = u"HI"_s;

ColourScheme &current() {
    static ColourScheme scheme = ClassicColourScheme();
    return scheme;
}

int parseNumber(const QStringList &lines, int lineNumber, const QString &fileForReport) {
    const QString text = lineNumber <= lines.size() ? lines.at(lineNumber - 1) : QString();
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw ConversionError(
            u"'%1' Is Not A Valid Whole Number (Line %2 Of The Colour Scheme)"_s.arg(text).arg(
                lineNumber),
            fileForReport);
    return value;
}

} // namespace

std::optional<ColourValue> ColourScheme::panelColour(int role) const {
    switch (role) {
    case 1:
        return PanelColour1;
    case 2:
        return PanelColour2;
    case 3:
        return PanelColour3;
    case 4:
        return PanelColour4;
    case 5:
        return PanelColour5;
    default:
        return std::nullopt;
    }
}

std::optional<ColourValue> ColourScheme::panelEndColour(int role) const {
    switch (role) {
    case 1:
        return PanelEndColour1;
    case 2:
        return PanelEndColour2;
    case 3:
        return PanelEndColour3;
    default:
        return std::nullopt;
    }
}

ColourScheme ClassicColourScheme() {
    return makeScheme(ClassicStyle,
                      {0xEAEAFC, 0xFFFFFF, 0xFAC2A5, 0xFEF3EE, 0xA6A6D2, 0xDCDCF0, 0xD9FFFC,
                       0xD9FFB3, 0xFFEAEA, 0xFFFFFF, 0xDEDEDE},
                      1);
}

ColourScheme OrangeColourScheme() {
    return makeScheme(OrangeStyle,
                      {0xDFFFFC, 0x4080FF, 0x4080FF, 0xDFFFFC, 0x4080FF, 0xDFFFFC, 0x80FFFF,
                       0xD9FFB3, 0xFFEAEA, 0xFFFFFF, 0xDEDEDE},
                      0);
}

ColourScheme BlueColourScheme() {
    return makeScheme(BlueStyle,
                      {0xEEE4BF, 0xB1A56B, 0xB1A56B, 0xEEE4BF, 0xB1A56B, 0xEEE4BF, 0x80FFFF,
                       0xD9FFB3, 0xFFEAEA, 0xFFFFFF, 0xDEDEDE},
                      0);
}

ColourScheme GreyColourScheme() {
    return makeScheme(GreyStyle,
                      {0x8080FF, 0x8080FF, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x80FFFF,
                       0xC0C0C0, SystemWindowColour, SystemWindowColour, 0xC0C0C0},
                      1);
}

std::optional<ColourScheme> NamedColourScheme(const QString &style) {
    if (style == ClassicStyle)
        return ClassicColourScheme();
    if (style == OrangeStyle)
        return OrangeColourScheme();
    if (style == BlueStyle)
        return BlueColourScheme();
    if (style == GreyStyle)
        return GreyColourScheme();
    return std::nullopt;
}

ColourScheme DefaultColourScheme(const QString &colourMode) {
    ColourScheme scheme = colourMode == u"256"_s ? GreyColourScheme() : ClassicColourScheme();
    scheme.ShadowFlag = 1;
    return scheme;
}

QString ColourMode() {
    return g_colourMode;
}

void SetColourMode(const QString &mode) {
    g_colourMode = mode;
}

const ColourScheme &CurrentColourScheme() {
    return current();
}

void SetCurrentColourScheme(const ColourScheme &scheme) {
    current() = scheme;
}

QStringList ColourSchemeLines(const ColourScheme &scheme) {
    QStringList lines;
    lines.reserve(SchemeLineCount);
    lines.append(scheme.ColourStyle);
    for (const auto field : ColourFields)
        lines.append(QString::number(static_cast<qint32>(scheme.*field)));
    lines.append(QString::number(scheme.ShadowFlag));
    return lines;
}

ColourScheme ParseColourSchemeLines(const QStringList &lines, const QString &fileForReport) {
    ColourScheme scheme;
    scheme.ColourStyle = lines.value(0);
    int lineNumber = 2;
    for (const auto field : ColourFields)
        scheme.*field = static_cast<ColourValue>(parseNumber(lines, lineNumber++, fileForReport));
    scheme.ShadowFlag = parseNumber(lines, lineNumber, fileForReport);
    return scheme;
}

ColourScheme ReadOrCreateColourScheme(const QString &path, const ColourScheme &defaults) {
    if (!QFileInfo::exists(path)) {
        WriteRecordFile(path, ColourSchemeLines(defaults));
        return defaults;
    }
    return ParseColourSchemeLines(ReadRecordFile(path), path);
}

void LoadColourScheme() {
    SetCurrentColourScheme(DefaultColourScheme(ColourMode()));
    SetCurrentColourScheme(
        ReadOrCreateColourScheme(dataFile(ColoursFileName), CurrentColourScheme()));
}

} // namespace qm
