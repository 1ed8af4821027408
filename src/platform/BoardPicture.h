// A picture a text of the board may carry: the bytes as stored in the board file (PNG or SVG),
// and the licence it came with, kept for the boards it travels to.
#pragma once

#include <QByteArray>
#include <QString>

struct BoardPicture {
  QByteArray data;     // the encoded picture; empty: no picture
  QString contentType; // "image/png" or "image/svg+xml"
  QString licence;     // as imported (a JSON object's text) or given to a built-in picture
  bool isNull() const { return data.isEmpty(); }
  bool operator==(const BoardPicture& o) const {
    return data == o.data && contentType == o.contentType && licence == o.licence;
  }
  bool operator!=(const BoardPicture& o) const { return !(*this == o); }
};
