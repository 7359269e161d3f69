#pragma once

#include "catalogue/GameDefinitions.h"
#include "catalogue/MenuTree.h"
#include "catalogue/Odds.h"

#include <map>
#include <string>
#include <vector>

// The help pages as text: one page per help code, and the contents page.
// Pages are HTML that parses as XML too (every element closed), so that a
// plain XML reader can check them, and that the help window and any
// browser show alike.

// The games of every help code, in catalogue order.
std::map<std::string, std::vector<const TGameDefinition*>> GamesByHelpCode();

// The page of one help code. Each game's deal picture, its places named, is
// referred to as `pictureFolder` + HelpAnchor(game) + ".jpg", relative to
// the page; genpreviews draws them into help/pictures.
std::string HelpPage(const std::string& helpCode, const std::vector<const TGameDefinition*>& games,
                     const std::string& pictureFolder = "../pictures/", const TOddsTable& odds = {});

// help/index.htm: every game by type and alphabetically, each linked to
// its page (relative to the contents page: "html/tsly<code>.htm"), and the
// glossary ("#t-<term>") the pages link their words to.
// With the survey's odds, each game's page tells them and the contents list
// the games by them as well.
std::string ContentsPage(const TMenuItem& gameTypeMenu, const TOddsTable& odds = {});

std::string PageFileName(const std::string& helpCode);
std::string EscapeHtml(const std::string& text);
