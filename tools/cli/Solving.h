#pragma once

#include "Headless.h"

#include "solver/Search.h"

#include <cstdint>
#include <string>

class TEngine;

// Deals `game` from `seed` exactly as the deal command does, even when the
// same game is in play already.
bool DealGame(TEngine& engine, const std::string& game, std::uint32_t seed);

// The budget the options ask for; one second when they name none.
solver::TSolveBudget BudgetOf(const TCliOptions& options);
