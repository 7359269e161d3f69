#pragma once

#include "catalogue/GameDefinitions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

// Every game of the collection, as parameters of a test that runs once per game.
inline std::vector<std::string> AllGameNames()
{
    std::vector<std::string> names;
    for (const TGameDefinition& definition : GameDefinitions())
        names.push_back(definition.GameName);
    return names;
}

// A test name from a game's name: letters and digits, then its place.
inline std::string GameTestName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name;
    for (const char c : info.param)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + "_" + std::to_string(info.index);
}
