// A thin bar over the lit item, filled as a held switch is accepted.
#include "execution/AcceptanceBar.h"

AcceptanceBar::AcceptanceBar(QWidget* parent, Progress progress, LitItem litItem)
    : QProgressBar(parent), FProgress(std::move(progress)), FLitItem(std::move(litItem)) {
  setObjectName(QStringLiteral("AcceptanceBar"));
  setRange(0, 100);
  setTextVisible(false);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  FTimer.setInterval(40); // smooth enough to the eye, cheap beside the scan
  connect(&FTimer, &QTimer::timeout, this, [this] { update(); });
}

void AcceptanceBar::update() {
  // No acceptance under way reads as one already complete: the bar goes.
  const double part = FProgress ? FProgress().value_or(1.0) : 1.0;
  const QRect item = FLitItem ? FLitItem() : QRect();
  if (part >= 1.0 || item.isEmpty()) {
    hide();
    FTimer.stop();
    return;
  }
  const int h = std::max(6, item.height() / 5);
  setGeometry(item.left(), item.bottom() - h + 1, item.width(), h);
  setValue(int(part * 100));
  show();
  raise();
  if (!FTimer.isActive())
    FTimer.start();
}
