#pragma once

// A shown 1600 x 1000 card table holding two packs in 13 fanned columns, and
// mouse events sent to it: what the drag benchmarks measure on.
#include "cardtable/CardTable.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <filesystem>
#include <memory>

namespace benchtable {

constexpr int TableWidth = 1600;
constexpr int TableHeight = 1000;

inline std::filesystem::path Cardsets() { return std::filesystem::path(TESSALYN_PROGRAM_DIR) / "Cardsets"; }

inline std::unique_ptr<TCardTable> MakeFullTable()
{
    auto table = std::make_unique<TCardTable>(nullptr, Cardsets());
    table->SetMinWidth(0);
    table->SetMinHeight(0);
    table->CardDeck().SetCardCount(104);
    table->SetTableSize(TableWidth, TableHeight);
    table->SetColor(QColor(0, 110, 50));
    table->show();
    // Let the window be exposed, so copies to the screen really paint.
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    TDropPoints points;
    // 13 columns of 8 fanned cards.
    for (int column = 0; column < 13; ++column) {
        for (int row = 0; row < 8; ++row) {
            TCard* card = table->NextCard();
            card->FaceUp = true;
            table->PlaceCard(card, 20 + column * 120, 20 + row * 30);
        }
        points.push_back(QPoint(20 + column * 120, 20 + 7 * 30));
    }
    table->SetDropPoints(points);
    table->SetDragAndDrop(true);
    return table;
}

inline void Send(TCardTable& table, QEvent::Type type, int x, int y)
{
    const QPointF at(x, y);
    QMouseEvent event(type, at, table.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&table, &event);
}

} // namespace benchtable
