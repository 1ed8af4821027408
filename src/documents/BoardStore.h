// What the documents need of the board on screen: the board as its file would hold it, a board
// read from a file put in its place, and the default board made anew.
#pragma once

#include "documents/BoardFile.h"

class BoardStore {
public:
  virtual ~BoardStore() = default;
  virtual BoardData boardData() const = 0;
  virtual void showBoard(const BoardData& data) = 0;
  virtual void showDefaultBoard() = 0;
};
