// The second baseline of a start-up: a bare Qt main window that shows one line of text, so
// that it pays for the fonts as any window with text does. Shown maximised, then quit.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setCentralWidget(new QLabel(QStringLiteral("Une ligne de texte"), &w));
  w.showMaximized();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return app.exec();
}
