// The program's own logo, drawn rather than shipped so that the program file alone is enough.
#pragma once

#include <QPixmap>

QPixmap orivoxLogo(int size);
