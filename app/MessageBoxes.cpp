#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

#include "Language.h"
#include "StringIds.h"

namespace {

TMessageBoxObserver& Observer() {
  static TMessageBoxObserver observer;
  return observer;
}

QMessageBox::Icon BoxIcon(TMessageIcon icon) {
  switch (icon) {
    case TMessageIcon::miInformation:
      return QMessageBox::Information;
    case TMessageIcon::miWarning:
      return QMessageBox::Warning;
    case TMessageIcon::miError:
      return QMessageBox::Critical;
    case TMessageIcon::miNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

TMessageBoxObserver SetMessageBoxObserver(TMessageBoxObserver observer) {
  return std::exchange(Observer(), std::move(observer));
}

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    TMessageIcon icon) {
  if (const TMessageBoxObserver& observer = Observer()) {
    // A copy: the observer may replace itself while it runs.
    const TMessageBoxObserver current = observer;
    current({text, caption, icon});
    return;
  }
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(BoxIcon(icon), caption, shown, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void ShowErrorDialog(QWidget* parent, const QString& text) {
  if (!Observer()) QApplication::beep();
  ShowMessageBox(parent, text, QString::fromStdString(LangStr(kStrError)), TMessageIcon::miError);
}
