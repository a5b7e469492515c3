#pragma once

// The texts of a run as the window shows them. A run keeps its file texts as Windows-1252
// bytes and its paths as the system's bytes; these give the UTF-8 view.

#include <QString>

#include "RunData.h"
#include "Units.h"

// File name with extension.
QString RunFileNameText(const TRunData& run);
// The path the file was opened with.
QString RunPathText(const TRunData& run);
QString RunTitleText(const TRunData& run);
QString RunTypeText(const TRunData& run);
QString RunDateText(const TRunData& run);
// The notes with their CR LF line ends as plain line breaks.
QString RunNotesText(const TRunData& run);

// The gear ratio of the run's first X channel in its selected segment, two decimals; "N/A"
// when there is none, it is not a number, or it is the reset value 1.0.
QString GearRatioText(const TRunData& run);

// The notes pane's text: file name, a blank, "Notes:" and the notes from the next line on.
QString NotesPaneText(const TRunData& run);

// The run's conditions in the display units: temperature, pressure, vapour pressure,
// humidity and altitude, each "value symbol".
struct TConditionTexts {
  QString Temperature, Pressure, Vapor, Humidity, Altitude;
};
TConditionTexts ConditionTexts(const TRunData& run, const TUnitTable& units);
