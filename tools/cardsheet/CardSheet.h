#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// A picture of a whole card set as the table would show it: every face, the
// jokers and the backs, then the mask, the shade, the pile bases and a lifted
// card with its drop shadow. Cards are combined with the table the way the
// table does it (mask AND, then picture OR), so a face whose corners are not
// black where the mask is white shows up as dirt on the felt.
//
// `problems` collects the files that were missing or unreadable; the sheet
// shows an empty red box in their place.
QImage RenderCardSheet(const QString& setFolder, QStringList& problems);

// The names of the set folders below a card sets folder, sorted, "Standard" first.
QStringList CardSetNames(const QString& cardsetsFolder);
