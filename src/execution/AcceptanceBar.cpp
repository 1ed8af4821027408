// A thin bar over the lit item, filled as a held switch is accepted.
#include "execution/AcceptanceBar.h"

AcceptanceBar::AcceptanceBar(QWidget* parent) : QProgressBar(parent) {
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
  const std::optional<double> part = progress ? progress() : std::nullopt;
  const QRect item = litItem ? litItem() : QRect();
  if (!part || *part >= 1.0 || item.isEmpty()) {
    hide();
    FTimer.stop();
    return;
  }
  const int h = std::max(6, item.height() / 5);
  setGeometry(item.left(), item.bottom() - h + 1, item.width(), h);
  setValue(int(*part * 100));
  show();
  raise();
  if (!FTimer.isActive())
    FTimer.start();
}
