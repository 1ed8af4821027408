// The about box "A propos": the program's name and version, the carer's shortcuts, the keys
// that act as the switch, the reserved tabs and the seven reserved texts, each with one line of
// explanation, the credits of the built-in pictures, and an "OK" button.
#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QStringList>
#include <utility>

class QPushButton;

class TAboutBox : public QDialog {
  Q_OBJECT
public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QPushButton* OKButton;

  static QString programName();
  static QString programVersion();

  // A CTRL+letter shortcut and the mode it acts in.
  enum class Mode { Execution, Creation };
  struct Shortcut {
    char letter;
    Mode mode;
    QString explanation;
  };
  static QList<Shortcut> shortcuts();

  // A group of switch keys as the box names them, with the keys it stands for.
  struct SwitchKeyGroup {
    QString name;
    QString explanation;
    QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
  };
  static QList<SwitchKeyGroup> switchKeys();

  // ("name", explanation)
  static QList<QPair<QString, QString>> reservedTabs();
  static QList<QPair<QString, QString>> reservedTexts();

  // Every line of the box, in order ("key or name" -> explanation).
  static QList<QPair<QString, QString>> entries();

  // Who made the built-in pictures and their French names, under which licences: lines shown
  // whole at the foot of the box, as the pictures' licence asks of whoever passes them on.
  static QStringList credits();

protected:
  // Opened by a click during the scanning, the box must not trap the person who uses the
  // board: any switch key closes it, not only Enter.
  void keyPressEvent(QKeyEvent* e) override;
};
