#pragma once

// Every message box of the window goes through ShowMessageBox, so a test (or an automated
// run) can take the messages instead of modal boxes that would wait for a click.

#include <QString>

#include <functional>

class QWidget;

enum class TMessageIcon { miNone, miInformation, miWarning, miError };

struct TMessageBoxRequest {
  QString Text;  // as the caller built it; line breaks may be "\r\n"
  QString Caption;
  TMessageIcon Icon = TMessageIcon::miNone;
};

using TMessageBoxObserver = std::function<void(const TMessageBoxRequest&)>;

// While an observer is installed it receives every message and no box is shown; an empty
// observer brings the boxes back. Returns the observer that was installed before.
TMessageBoxObserver SetMessageBoxObserver(TMessageBoxObserver observer);

// A modal message with one OK button.
void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    TMessageIcon icon);

// The error beep, then a modal error message with one OK button and the error caption.
void ShowErrorDialog(QWidget* parent, const QString& text);
