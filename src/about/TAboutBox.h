// The about box "A propos": the key combinations and the seven reserved texts, each with one
// line of explanation, and an "OK" button.
#pragma once

#include <QDialog>

class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT
public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QPushButton* OKButton;
  // The explanation lines shown, in order ("key or text" -> explanation).
  static QList<QPair<QString, QString>> entries();

protected:
  // Opened by a click during the scanning, the box must not trap the person who uses the
  // board: any switch key closes it, not only Enter.
  void keyPressEvent(QKeyEvent* e) override;
};
