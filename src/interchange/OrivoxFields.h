// What only Orivox knows about a board (paces, fonts, colours, the final block, the settings,
// the tab roles), carried in "ext_orivox_..." fields of exported boards so that an exported
// board comes back unchanged.
#pragma once

#include "documents/BoardFile.h"

#include <QJsonObject>
#include <QString>

namespace interchange::orivoxfields {

inline const QString kBoard = QStringLiteral("ext_orivox_board"); // on the root board
inline const QString kTab = QStringLiteral("ext_orivox_tab");     // on each tab's board
inline const QString kTabIndex =
    QStringLiteral("ext_orivox_tab_index");                     // on buttons of a lone board
inline const QString kTabs = QStringLiteral("ext_orivox_tabs"); // on a lone board
// On an image whose licence, as the board keeps it, is not the compact JSON of its "license".
inline const QString kLicence = QStringLiteral("ext_orivox_licence");

// Everything of the board but its tabs.
QJsonObject boardFields(const BoardData& board);
// Back onto a board; a field missing or of the wrong type keeps the board's value.
void applyBoardFields(const QJsonObject& fields, BoardData& board);

// The caption, and the role of a reserved tab ("divers", "alphabet", "autres-caracteres").
QJsonObject tabFields(const BoardTab& tab);

} // namespace interchange::orivoxfields
