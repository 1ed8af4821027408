// Letters where row-column scanning reaches them soonest: how often each character is written
// in French, and the order of a letter tab's texts that puts the frequent ones in the cheap cells.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace letterfrequency {

// How often a text of one character is written in French, in percent of letters; the space
// above every letter. Negative for a text the table does not know (longer texts, digits,
// rare signs). Letter case does not count.
double frenchFrequency(const QString& text);

// What reaching cell (row, column) costs in row-column scanning: the steps to its row, then
// along it.
inline int cellCost(int row, int column) {
  return row + column;
}

// The cells of `count` texts laid out in rows of `columns` (below 1: one row), by increasing
// cost, the upper row first where two cost the same.
std::vector<int> cellsByCost(int count, int columns);

// The texts in the order that puts the most frequent in the cheapest cells: element i is the
// place, in `texts`, of the text that goes to cell i. Texts the table does not know fill the
// cells left over in their own reading order.
std::vector<int> frequencyOrder(const QStringList& texts, int columns);

// A tab of letters: most of its texts (and at least two) are single characters.
bool mostlySingleCharacters(const QStringList& texts);

} // namespace letterfrequency
