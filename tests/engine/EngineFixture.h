#pragma once

#include "cardtable/CardTable.h"
#include "cardtable/Random.h"
#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A host that remembers what the engine played and asked.
class TRecordingHost : public TQuietHost {
public:
    void PlaySoundFile(const std::string& file, int mode, int) override
    {
        Sounds.push_back(file);
        Modes.push_back(mode);
        if (OnSound)
            OnSound(file);
    }
    bool SoundOn() const override { return PlaySounds; }
    void Beep() override { ++Beeps; }
    bool AskYesNo(const std::string& text) override
    {
        Questions.push_back(text);
        return Answer;
    }
    void RecordGameResult(const std::string& game, const std::string&, bool won, int points) override
    {
        Results.push_back({game, won, points});
    }
    struct TResult {
        std::string Game;
        bool Won = false;
        int Points = 0;
    };
    // Sounds are recorded though nothing is played and no pause is taken.
    bool PlaySounds = false;
    std::vector<std::string> Sounds;
    std::vector<int> Modes; // the play mode of each sound
    std::function<void(const std::string&)> OnSound;
    std::vector<std::string> Questions;
    std::vector<TResult> Results;
    bool Answer = true;
    int Beeps = 0;
};

// The engine over a real card table that is never shown, so every
// animation completes at once.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table = std::make_unique<TCardTable>(nullptr, testpaths::ProgramDir() / "Cardsets");
        Table->SetTableSize(1400, 1000);
        Engine = std::make_unique<TEngine>(*Table, Host);
    }
    void TearDown() override
    {
        Engine.reset();
        Table.reset();
    }

    void Deal(const std::string& game, std::uint32_t seed)
    {
        SetRandSeed(seed);
        Engine->Rules.GameName.clear();
        // After a load the next deal would draw a seed of its own.
        Engine->ReseedNextDeal = false;
        ASSERT_TRUE(Engine->SelectGame(game)) << game;
    }

    // A card of the pack by suit and value (the first of two packs).
    TCard* Card(int value, int suit) const
    {
        for (int i = 1; i <= Table->CardDeck().Count(); ++i) {
            TCard* card = Table->CardDeck().CardByIndex(i);
            if (card->Value == value && card->Suit == suit)
                return card;
        }
        return nullptr;
    }

    // Every card of the pack lies in exactly one place.
    ::testing::AssertionResult EveryCardOnce() const
    {
        std::map<const TCard*, int> seen;
        const TCardDeck& deck = Table->CardDeck();
        for (int i = deck.DealtCount + 1; i <= deck.Count(); ++i)
            ++seen[deck.CardByIndex(i)];
        const auto count = [&seen](const TPile& pile) {
            for (const TCard* card : pile)
                if (card)
                    ++seen[card];
        };
        count(Engine->WasteCards);
        count(Engine->ReserveCards);
        count(Engine->RemovedCards);
        for (const auto* piles : {&Engine->TableauPiles, &Engine->FoundationPiles, &Engine->ExceptPiles})
            for (const TPile& pile : *piles)
                count(pile);
        for (const TPile& pile : Engine->TableauPiles)
            if (pile.empty())
                return ::testing::AssertionFailure() << "a tableau pile has no slot";
        for (const TPile& pile : Engine->FoundationPiles)
            if (pile.empty())
                return ::testing::AssertionFailure() << "a foundation has no slot";
        for (int i = 1; i <= deck.Count(); ++i) {
            const int n = seen[deck.CardByIndex(i)];
            if (n != 1)
                return ::testing::AssertionFailure() << "card " << i << " appears " << n << " times";
        }
        if (seen.size() != static_cast<std::size_t>(deck.Count()))
            return ::testing::AssertionFailure() << "a card from outside the pack";
        return ::testing::AssertionSuccess();
    }

    TRecordingHost Host;
    std::unique_ptr<TCardTable> Table;
    std::unique_ptr<TEngine> Engine;
};
