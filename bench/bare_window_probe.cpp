// The baseline of a start-up: a bare Qt main window shown maximised, then quit.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.showMaximized();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return app.exec();
}
