#include "RunSummary.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Language.h"
#include "RunTexts.h"
#include "StringIds.h"

namespace {

QString Str(int id) {
  return QString::fromStdString(LangStr(id)).trimmed();
}

QLineEdit* Field(const QString& text, QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setReadOnly(true);
  edit->setCursorPosition(0);
  return edit;
}

}  // namespace

TRunSummaryDialog::TRunSummaryDialog(QWidget* parent, const TRunData& run, const TUnitTable& units)
    : QDialog(parent) {
  setWindowTitle(Str(kStrRunInfoCaption) + QStringLiteral(" - ") + RunFileNameText(run));
  auto* layout = new QVBoxLayout(this);

  auto* runBox = new QGroupBox(Str(kStrRunInformation), this);
  auto* runForm = new QFormLayout(runBox);
  runForm->addRow(Str(kStrRunName), Field(RunPathText(run), runBox));
  runForm->addRow(Str(kStrRunTitle), Field(RunTitleText(run), runBox));
  runForm->addRow(Str(kStrRunType), Field(RunTypeText(run), runBox));
  runForm->addRow(Str(kStrColumnDate) + QLatin1Char(':'), Field(RunDateText(run), runBox));
  layout->addWidget(runBox);

  const TConditionTexts conditions = ConditionTexts(run, units);
  auto* conditionBox = new QGroupBox(Str(kStrRunConditions), this);
  auto* conditionForm = new QFormLayout(conditionBox);
  conditionForm->addRow(Str(kStrAirTemp), Field(conditions.Temperature, conditionBox));
  conditionForm->addRow(Str(kStrAbsolutePressure), Field(conditions.Pressure, conditionBox));
  conditionForm->addRow(Str(kStrVaporPressure), Field(conditions.Vapor, conditionBox));
  conditionForm->addRow(Str(kStrHumidity), Field(conditions.Humidity, conditionBox));
  conditionForm->addRow(Str(kStrAltitude), Field(conditions.Altitude, conditionBox));
  layout->addWidget(conditionBox);

  auto* notesBox = new QGroupBox(Str(kStrRunNotes), this);
  auto* notesLayout = new QVBoxLayout(notesBox);
  auto* notes = new QPlainTextEdit(RunNotesText(run), notesBox);
  notes->setReadOnly(true);
  notes->setMinimumHeight(80);
  notesLayout->addWidget(notes);
  layout->addWidget(notesBox, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Str(kStrOK));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(460, 480);
}
