// The filling bar that shows a held switch being accepted: it lies along the bottom of the lit
// item (a text button or a tab) and fills as the acceptance time passes, so that the person
// who uses the board sees how long to go on pressing.
#pragma once

#include <QProgressBar>
#include <QTimer>

#include <functional>
#include <optional>

class AcceptanceBar : public QProgressBar {
  Q_OBJECT
public:
  // Asked for while the bar is shown: the part of the acceptance time gone by (none: the switch
  // is not being held for acceptance), and where the lit item is, in the bar parent's
  // coordinates.
  using Progress = std::function<std::optional<double>()>;
  using LitItem = std::function<QRect()>;
  AcceptanceBar(QWidget* parent, Progress progress, LitItem litItem);
  // Looks again at once (a key went down or up); goes on looking while the switch is held.
  void update();

private:
  Progress FProgress;
  LitItem FLitItem;
  QTimer FTimer;
};
