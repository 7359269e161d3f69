#include "shell/PlayState.h"

#include "engine/Engine.h"

bool TPlayState::InPlay() const { return Engine != nullptr && !Engine->Rules.GameName.empty(); }

bool TPlayState::Busy() const { return Engine != nullptr && Engine->DealBusy; }

bool TPlayState::Uncounted() const { return Engine != nullptr && !Engine->GameWon; }

bool TPlayState::ShuttingDown() const { return Engine != nullptr && Engine->ShuttingDown; }

std::string TPlayState::GameName() const { return Engine != nullptr ? Engine->Rules.GameName : std::string(); }
