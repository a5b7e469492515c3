#include "AboutBox.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "Font.h"
#include "Language.h"
#include "MainForm.h"
#include "StringIds.h"

#ifndef TRACEWELL_VERSION
#error "TRACEWELL_VERSION comes from the project version"
#endif

namespace {

QString Str(int id) {
  return QString::fromStdString(LangStr(id));
}

constexpr char kProductName[] = "Halvorn Tracewell";
constexpr char kMakerNotice[] = " 2026 Halvorn Research Inc.\n";

}  // namespace

QString FileVersionText(std::string_view raw) {
  return QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size())).left(kMaxVersionText);
}

QString FileVersionText() {
  return FileVersionText(TRACEWELL_VERSION);
}

QString ApplicationTitle() {
  return QStringLiteral("%1 %2").arg(QLatin1String(kProductName), FileVersionText());
}

TAboutBox::TAboutBox(QWidget* parent, const QString& japaneseFace) : QDialog(parent) {
  if (!japaneseFace.isEmpty()) {
    TFont font;
    font.FName = japaneseFace;
    font.SetSize(10);
    setFont(ToQFont(font));
  }
  setWindowTitle(Str(kStrAboutCaption) + QStringLiteral(" ") + QLatin1String(kProductName));
  setFixedSize(367, 185);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  panel->setGeometry(8, 8, 345, 129);

  auto* icon = new QLabel(panel);
  icon->setGeometry(16, 8, 57, 57);
  icon->setPixmap(windowIcon().pixmap(57, 57));
  icon->setScaledContents(true);

  ProductName = new QLabel(QLatin1String(kProductName), panel);
  ProductName->move(88, 16);
  ProductName->adjustSize();

  Version = new QLabel(panel);
  Version->move(88, 40);

  auto* notice = new QLabel(panel);
  notice->setAlignment(Qt::AlignCenter);
  notice->setText(Str(kStrCopyright) + QLatin1String(kMakerNotice) + Str(kStrAllRightsReserved));
  notice->setGeometry(8, 88, 329, 36);

  OKButton = new QPushButton(Str(kStrOK), this);
  OKButton->setGeometry(146, 148, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAboutBox::VersionLabelText() const {
  return Version->text();
}

void TAboutBox::showEvent(QShowEvent* event) {
  Version->setText(Str(kStrVersion) + QStringLiteral(" ") + FileVersionText());
  Version->adjustSize();
  QDialog::showEvent(event);
}

void TFormMain::AboutBoxExecute() {
  TAboutBox box(this, GetLanguageOffset() == kOffsetJapanese ? JapaneseFace() : QString());
  box.exec();
}
