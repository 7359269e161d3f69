#include "CardSetLayout.h"

std::vector<TCardSetLayout> ShippedCardSets() {
  // The small set gets proportionally larger indices so that rank and suit stay
  // legible at 55 pixels; the large one is the standard set drawn at twice the size.
  return {
      {"Standard", 71, 96, 5, 4, 3.0, 3.0, 7.0, 10.0, 9.0, 12.0},
      {"Large", 142, 192, 10, 7, 6.0, 6.0, 13.0, 19.0, 17.0, 24.0},
      {"M_Small", 55, 75, 4, 3, 2.0, 2.0, 6.0, 8.0, 7.5, 9.5},
  };
}

int BackDesignCount() { return 8; }
