#include "Solving.h"

#include "cardtable/Random.h"
#include "engine/Engine.h"

bool DealGame(TEngine& engine, const std::string& game, std::uint32_t seed)
{
    SetRandSeed(seed);
    // A game already in play would not be dealt again.
    engine.Rules.GameName.clear();
    // After a load the next deal would draw a seed of its own.
    engine.ReseedNextDeal = false;
    return engine.SelectGame(game);
}

solver::TSolveBudget BudgetOf(const TCliOptions& options)
{
    solver::TSolveBudget budget;
    if (options.BudgetStates)
        budget.MaxStates = *options.BudgetStates;
    if (options.BudgetMs)
        budget.MaxMilliseconds = *options.BudgetMs;
    if (!options.BudgetStates && !options.BudgetMs)
        budget.MaxMilliseconds = 1000;
    return budget;
}
