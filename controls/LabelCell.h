#pragma once

// A text cell of a label box: a caption in a font, sized to its text, drawn literally (an
// ampersand is an ampersand). The mouse passes through it to the box underneath.

#include "Color.h"
#include "Font.h"

#include <QString>
#include <QWidget>

class TLabelCell : public QWidget {
 public:
  explicit TLabelCell(QWidget* parent = nullptr);

  const QString& Caption() const { return FCaption; }
  // Sets the caption and sizes the cell to it.
  void SetCaption(const QString& caption);
  const TFont& Font() const { return FFont; }
  // Sets the font (its colour is the text colour) and sizes the cell to the caption.
  void SetFont(const TFont& font);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);

  // Sizes the cell to its caption: text width and cell height, an empty caption measuring
  // as one space. SetCaption and SetFont do this; a size set in between stays until then.
  void AdjustBounds();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FCaption;
  TFont FFont;
  TColor FColor = clBtnFace;
  bool FTransparent = false;
};
