#pragma once

// The flat button the graph is built from: no border until the mouse is over it (raised),
// sunk while pressed, optionally staying down as a toggle, dropping a menu after a click,
// carrying a rotated caption, transparent over its parent, or moving itself when dragged.

#include "Canvas.h"
#include "Color.h"
#include "Font.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

class QMenu;

enum TPanelButtonStyle {
  pbsButton = 0,
  pbsCheck = 1,        // each click toggles Down
  pbsDropDown = 2,     // opens DropdownMenu after the click
  pbsDrag = 3,         // a press moves the button within its parent
  pbsCodeControl = 4,  // the bevel stays as the code sets it after a click
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Events carry the control that raised them.
using TNotifyEvent = std::function<void(QObject* sender)>;
using TEndDragEvent = std::function<void(QObject* sender, QObject* target, int x, int y)>;

// (red + green + blue) div 3 of a colour, system colours taken at their current RGB value.
int GrayScale(TColor color);

// Where a caption of width w and height h turned by `orientation` (tenths of a degree)
// starts on a button of the given size, so that it is centred; and the turned caption's
// extent. The angle counts whole degrees only, times 0.01745, as the layouts were made with.
QPoint CaptionOrigin(int buttonWidth, int buttonHeight, int w, int h, int orientation);
int CaptionExtentWidth(int w, int h, int orientation);
int CaptionExtentHeight(int w, int h, int orientation);

class TPanelButton : public QWidget {
 public:
  explicit TPanelButton(QWidget* parent = nullptr);
  ~TPanelButton() override;

  bool Down() const { return FDown; }
  // Down lowers the bevel; up, it is raised while the mouse is in or pressed, else none.
  void SetDown(bool down);
  int Orientation() const { return FOrientation; }
  void SetOrientation(int orientation);
  bool Transparent() const { return FTransparent; }
  // A transparent button fills nothing and lets its parent show through.
  void SetTransparent(bool transparent);
  TPanelButtonStyle Style() const { return FStyle; }
  void SetStyle(TPanelButtonStyle style) { FStyle = style; }
  QMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(QMenu* menu) { FDropdownMenu = menu; }
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
  // The caption font; its orientation follows Orientation.
  const TFont& GetFont() const { return FFont; }
  void SetFont(const TFont& font);

  // The panel's own properties.
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  const QString& Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut bevel);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut bevel);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int width);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  bool MouseIn() const { return FMouseIn; }
  bool Pressed() const { return FPressed; }

  // Repaints the button and what lies under it.
  void ReDisplay();
  // The turned caption's extent on the button's font.
  int CaptionWidth() const;
  int CaptionHeight() const;
  // Paints the button onto another canvas at its place in its parent.
  void PaintToCanvas(TCanvas& canvas) const;

  TNotifyEvent OnClick;
  TNotifyEvent OnCtrlClick;
  TNotifyEvent OnRightClick;
  TNotifyEvent OnMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TNotifyEvent OnStartDrag;
  TEndDragEvent OnEndDrag;

 protected:
  // Paints the button with its top-left corner at `origin` of the canvas.
  virtual void PaintOn(TCanvas& canvas, QPoint origin) const;
  // The end of a drag of a pbsDrag button, after the button was put down.
  virtual void EndDrag();

  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Raise(const TNotifyEvent& event) {
    if (event) event(this);
  }
  void MouseLeft();
  void RaiseClick(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

  bool FDown = false;
  int FOrientation = 0;
  bool FTransparent = false;
  TPanelButtonStyle FStyle = pbsButton;
  QMenu* FDropdownMenu = nullptr;
  QMenu* FPopupMenu = nullptr;
  TFont FFont;
  TColor FColor = clBtnFace;
  QString FCaption;
  TBevelCut FBevelOuter = bvNone;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  int FTag = 0;

  bool FMouseIn = false;   // the mouse is over the button (hover)
  bool FPressed = false;   // the left button went down on it and is not yet released
  bool FDragging = false;  // a pbsDrag press is moving the button
  QPoint FGrabOffset;      // where the button was taken, in its own coordinates
};
