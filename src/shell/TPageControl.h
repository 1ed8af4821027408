// The board's tab control: a tab widget whose tab strip can draw one tab highlighted (the
// scanning position) and reports the user's clicks before and after the tab changes.
#pragma once

#include "board/HighlightStyle.h"

#include <QTabBar>
#include <QTabWidget>
#include <functional>

class TTabBar : public QTabBar {
  Q_OBJECT
public:
  explicit TTabBar(QWidget* parent = nullptr);
  void setHighlighted(int index); // -1: none
  int highlighted() const { return FHighlighted; }
  void setCaptionColor(const QColor& c);
  void setHighlightStyle(HighlightStyle style);
  HighlightStyle highlightStyle() const { return FStyle; }

  std::function<void()> onChanging; // the user is about to change the tab
  std::function<void()> onMouseDown; // any mouse button pressed, after the change

protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void tabInserted(int index) override;
  void tabRemoved(int index) override;

private:
  int FHighlighted = -1;
  QColor FCaptionColor{0x80, 0, 0};
  HighlightStyle FStyle = HighlightStyle::TextColour;
};

class TPageControl : public QTabWidget {
  Q_OBJECT
public:
  explicit TPageControl(QWidget* parent = nullptr);
  TTabBar* tabStrip() const { return FTabBar; }

private:
  TTabBar* FTabBar;
};
