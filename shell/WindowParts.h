#pragma once

// The main window with every part it is made of, for whoever drives the
// window from outside (the tests, the benchmarks).
#include "shell/GameCommands.h"
#include "shell/HelpTools.h"
#include "shell/Main.h"
#include "shell/SavedGames.h"
#include "shell/StartScreenControl.h"
#include "shell/WinShowControl.h"
#include "shell/WindowEngineHost.h"
#include "shell/WindowMenus.h"
#include "shell/WindowOptions.h"
#include "shell/WindowSound.h"
