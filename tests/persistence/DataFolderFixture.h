#pragma once

#include "persistence/FileLocation.h"
#include "persistence/TextFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A program folder and a documents folder of their own for every test.
class DataFolderTest : public testing::Test {
protected:
    DataFolderTest()
    {
        Places.ApplicationDirectory = Root() / "app";
        Places.DocumentsFolder = Root() / "docs";
        std::filesystem::create_directories(Places.ApplicationDirectory);
        std::filesystem::create_directories(Places.DocumentsFolder);
    }

    std::filesystem::path Root() const { return Temp.path().toStdString(); }
    std::filesystem::path App() const { return Places.ApplicationDirectory; }
    std::filesystem::path Docs() const { return Places.DocumentsFolder / "Tessalyn"; }

    static void Write(const std::filesystem::path& file, const std::string& text)
    {
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(persistence::WriteLines(file, persistence::SplitLines(text)));
    }
    static std::string Read(const std::filesystem::path& file)
    {
        const auto lines = persistence::ReadLines(file);
        return lines ? persistence::JoinLines(*lines) : std::string("<missing>");
    }
    static bool Exists(const std::filesystem::path& path) { return std::filesystem::exists(path); }

    QTemporaryDir Temp;
    persistence::TDataPlaces Places;
};
