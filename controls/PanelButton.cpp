#include "PanelButton.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

// The layouts measure angles in whole degrees times this factor, not exactly π/180.
constexpr double kRadiansPerDegree = 0.01745;

double CaptionAngle(int orientation) {
  return (orientation / 10) * kRadiansPerDegree;
}

int Trunc(double v) {
  return static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9));
}

// A three-dimensional frame `width` pixels wide just inside the rectangle, which shrinks by
// it: `top` along the left and top edges, `bottom` along the right and bottom edges.
void Frame3D(TCanvas& canvas, int& left, int& top, int& right, int& bottom, TColor topColor,
             TColor bottomColor, int width) {
  canvas.Pen() = TCanvasPen{};
  --bottom;
  --right;
  for (; width > 0; --width) {
    canvas.Pen().FColor = topColor;
    const QPoint upper[] = {{left, bottom}, {left, top}, {right, top}};
    canvas.Polyline(upper);
    canvas.Pen().FColor = bottomColor;
    const QPoint lower[] = {{right, top}, {right, bottom}, {left - 1, bottom}};
    canvas.Polyline(lower);
    ++left;
    ++top;
    --right;
    --bottom;
  }
  ++bottom;
  ++right;
}

void BevelColors(TBevelCut bevel, TColor& topColor, TColor& bottomColor) {
  if (bevel == bvLowered) {
    topColor = clBtnShadow;
    bottomColor = clBtnHighlight;
  } else {
    topColor = 0xF0F0F0;
    bottomColor = clBtnShadow;
  }
}

}  // namespace

int GrayScale(TColor color) {
  // A system colour counts with its RGB value; its own low bytes are an index, not a colour.
  const TColor rgb = ColorToRGB(color);
  return (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
}

QPoint CaptionOrigin(int buttonWidth, int buttonHeight, int w, int h, int orientation) {
  const double a = CaptionAngle(orientation);
  return QPoint(Trunc((buttonWidth - (w * std::cos(a) + h * std::sin(a))) / 2),
                Trunc((buttonHeight + w * std::sin(a) - h * std::cos(a)) / 2));
}

int CaptionExtentWidth(int w, int h, int orientation) {
  const double a = CaptionAngle(orientation);
  return std::abs(Trunc(w * std::cos(a) + h * std::sin(a)));
}

int CaptionExtentHeight(int w, int h, int orientation) {
  const double a = CaptionAngle(orientation);
  return std::abs(Trunc(w * std::sin(a) + h * std::cos(a)));
}

TPanelButton::TPanelButton(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  SetDown(false);
  SetOrientation(0);
}

TPanelButton::~TPanelButton() = default;

void TPanelButton::SetDown(bool down) {
  FDown = down;
  SetBevelOuter(down ? bvLowered : (FMouseIn || FPressed) ? bvRaised : bvNone);
}

void TPanelButton::SetOrientation(int orientation) {
  FOrientation = orientation;
  FFont.FOrientation = orientation;
  update();
}

void TPanelButton::SetFont(const TFont& font) {
  FFont = font;
  FFont.FOrientation = FOrientation;
  update();
}

void TPanelButton::SetTransparent(bool transparent) {
  if (transparent == FTransparent) return;
  FTransparent = transparent;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  update();
}

void TPanelButton::SetColor(TColor color) {
  FColor = color;
  update();
}

void TPanelButton::SetCaption(const QString& caption) {
  FCaption = caption;
  update();
}

void TPanelButton::SetBevelOuter(TBevelCut bevel) {
  if (bevel == FBevelOuter) return;
  FBevelOuter = bevel;
  update();
}

void TPanelButton::SetBevelInner(TBevelCut bevel) {
  FBevelInner = bevel;
  update();
}

void TPanelButton::SetBevelWidth(int width) {
  FBevelWidth = std::max(width, 1);
  update();
}

void TPanelButton::SetBorderWidth(int width) {
  FBorderWidth = std::max(width, 0);
  update();
}

void TPanelButton::ReDisplay() {
  // What lies under a transparent button is the parent's to paint.
  if (parentWidget()) parentWidget()->update(geometry());
  update();
}

int TPanelButton::CaptionWidth() const {
  TCanvas measure;
  measure.Font() = FFont;
  return CaptionExtentWidth(measure.TextWidth(FCaption), measure.TextHeight("W"), FOrientation);
}

int TPanelButton::CaptionHeight() const {
  TCanvas measure;
  measure.Font() = FFont;
  return CaptionExtentHeight(measure.TextWidth(FCaption), measure.TextHeight("W"), FOrientation);
}

void TPanelButton::PaintToCanvas(TCanvas& canvas) const {
  PaintOn(canvas, pos());
}

void TPanelButton::PaintOn(TCanvas& canvas, QPoint origin) const {
  int left = origin.x(), top = origin.y();
  int right = left + width(), bottom = top + height();
  TColor topColor = 0, bottomColor = 0;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, topColor, bottomColor);
    Frame3D(canvas, left, top, right, bottom, topColor, bottomColor, FBevelWidth);
  }
  if (FBorderWidth > 0) Frame3D(canvas, left, top, right, bottom, FColor, FColor, FBorderWidth);
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, topColor, bottomColor);
    Frame3D(canvas, left, top, right, bottom, topColor, bottomColor, FBevelWidth);
  }
  if (!FTransparent) {
    canvas.Brush() = TBrush{FColor, bsSolid};
    canvas.FillRect(left, top, right, bottom);
    if (!isEnabled()) {
      // A cross-hatch over the face; between its lines the face shows through.
      canvas.Brush() = TBrush{GrayScale(FColor) <= 127 ? clWhite : TColor{0x0A0A0A}, bsDiagCross};
      canvas.FillRect(left, top, right, bottom);
    }
  }
  if (!FCaption.isEmpty()) {
    canvas.Font() = FFont;  // turned; extents are measured unturned
    canvas.Brush().FStyle = bsClear;
    const int h = canvas.TextHeight("W");
    const int w = canvas.TextWidth(FCaption);
    const QPoint at = origin + CaptionOrigin(width(), height(), w, h, FOrientation);
    canvas.TextRect(left, top, right, bottom, at.x(), at.y(), FCaption);
  }
}

void TPanelButton::paintEvent(QPaintEvent*) {
  TCanvas canvas(this);
  PaintOn(canvas, QPoint(0, 0));
}

void TPanelButton::MouseLeft() {
  FMouseIn = false;
  if (!FDown) SetBevelOuter(bvNone);
  if (FTransparent) ReDisplay();
  Raise(OnMouseExit);
}

void TPanelButton::mouseMoveEvent(QMouseEvent* event) {
  if (FDragging) {
    // The point that was taken follows the mouse, which stays over the parent, so the
    // button cannot be put down where it could not be taken again.
    QPoint at = mapToParent(event->position().toPoint());
    if (const QWidget* parent = parentWidget()) {
      at.setX(std::clamp(at.x(), 0, std::max(parent->width() - 1, 0)));
      at.setY(std::clamp(at.y(), 0, std::max(parent->height() - 1, 0)));
    }
    move(at - FGrabOffset);
    return;
  }
  raise();
  if (!FMouseIn) {
    FMouseIn = true;
    if (!FDown) SetBevelOuter(bvRaised);
    Raise(OnMouseEnter);
  }
  const QPoint p = event->position().toPoint();
  if (p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height()) {
    if (!FPressed)
      MouseLeft();
    else if (!FDown)
      SetBevelOuter(bvRaised);
  } else if (FPressed && !FDown) {
    SetBevelOuter(bvLowered);
  }
}

void TPanelButton::leaveEvent(QEvent*) {
  // Qt reports the mouse leaving where the original saw a move outside through its capture.
  if (FMouseIn && !FPressed && !FDragging) MouseLeft();
}

void TPanelButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (FStyle == pbsDrag) {
    Raise(OnStartDrag);
    FMouseIn = false;
    FDragging = true;
    FGrabOffset = event->position().toPoint();
    return;
  }
  FPressed = true;
  SetBevelOuter(bvLowered);
}

void TPanelButton::RaiseClick(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  // Only the Ctrl key, with no other key or mouse button held, makes a Ctrl click.
  const bool ctrlOnly =
      (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) == Qt::ControlModifier &&
      buttons == Qt::NoButton;
  if (ctrlOnly && OnCtrlClick)
    OnCtrlClick(this);
  else
    Raise(OnClick);
}

void TPanelButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  if (event->button() == Qt::RightButton) {
    Raise(OnRightClick);
    if (FPopupMenu) {
      FMouseIn = false;
      if (!FDown) SetBevelOuter(bvNone);
      FPopupMenu->popup(global);
    }
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (FDragging) {
    FDragging = false;
    FMouseIn = true;
    EndDrag();
    return;
  }
  FMouseIn = false;
  const QPoint p = event->position().toPoint();
  if (p.x() > 0 && p.x() < width() && p.y() > 0 && p.y() < height()) {
    RaiseClick(event->modifiers(), event->buttons());
    if (FStyle == pbsCheck)
      SetDown(!FDown);
    else if (FStyle != pbsCodeControl && !FDown)
      SetBevelOuter(bvNone);
    if (FStyle == pbsDropDown && FDropdownMenu) FDropdownMenu->popup(global);
  } else if (!FDown) {
    // Released off the button (or on its first row or column): a click without its effects.
    SetBevelOuter(bvNone);
    RaiseClick(event->modifiers(), event->buttons());
  }
  if (FTransparent) ReDisplay();
  FPressed = false;
}

void TPanelButton::EndDrag() {
  if (OnEndDrag) OnEndDrag(this, parent(), x(), y());
}

void TPanelButton::moveEvent(QMoveEvent*) {
  if (FStyle == pbsDrag && FTransparent) {
    ReDisplay();
    Raise(OnMove);
  }
}

void TPanelButton::contextMenuEvent(QContextMenuEvent* event) {
  // The own menu opens at the release of the right button; without one the parent's may.
  if (FPopupMenu)
    event->accept();
  else
    event->ignore();
}
