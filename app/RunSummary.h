#pragma once

// A read-only summary of one run: file, title, type, date, recorded conditions and notes.
// The double click on a run row shows it.

#include <QDialog>

#include "RunData.h"
#include "Units.h"

class TRunSummaryDialog : public QDialog {
 public:
  TRunSummaryDialog(QWidget* parent, const TRunData& run, const TUnitTable& units);
};
