// Renders the program's logo to a PNG file: the icon of the menu entry is the same drawing as
// the one the window shows. Usage: orivox_icon <output.png> [size]
#include "shell/Logo.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output.png> [size]\n", argv[0]);
    return 2;
  }
  const int size = argc > 2 ? std::atoi(argv[2]) : 256;
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "size must be between 16 and 1024\n");
    return 2;
  }
  if (!orivoxLogo(size).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
