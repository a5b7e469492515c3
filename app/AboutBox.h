#pragma once

// The about box: product name, file version and the maker's notice.

#include <QDialog>
#include <QString>

#include <string_view>

class QLabel;
class QPushButton;

inline constexpr int kMaxVersionText = 31;

// The version text as the window shows it: at most 31 characters of `raw`.
QString FileVersionText(std::string_view raw);
// This build's version text.
QString FileVersionText();
// "Halvorn Tracewell " and the version text: the window's caption.
QString ApplicationTitle();

class TAboutBox : public QDialog {
 public:
  // Japanese texts need the Japanese face; the caller passes it when that language is on.
  explicit TAboutBox(QWidget* parent, const QString& japaneseFace = {});

  QString VersionLabelText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;
};
