// The headless tool's state object: its fields, their order and the card notation.
#include "EngineFixture.h"

#include "engine/Snapshot.h"

namespace {

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(EngineTest, TheStateObjectNamesEveryPileInItsFixedOrder)
{
    Deal("Klondike 1 [Turn over 1]", 1);
    const std::string json = StateJson(*Engine, false);
    const std::string head = R"x({"game":"Klondike 1 [Turn over 1]","seed":1,"open":true,"stock":["(2c)","(2d)",)x";
    EXPECT_EQ(json.substr(0, head.size()), head);
    EXPECT_TRUE(Holds(json, R"x("tableau":[["8s"],["(Td)","Jc"],)x"));
    EXPECT_TRUE(Holds(json, R"x("foundations":[[],[],[],[]],"reserve":[],"extra":[],"points":0,)x"
                            R"x("foundationCards":0,"passesDone":0,"won":false,"foundationLabel":"Ace"})x"));
    const std::string positioned = StateJson(*Engine, true, 3);
    EXPECT_TRUE(Holds(positioned, R"x(["(Td)@117,170","Jc@117,175"])x"));
    const std::string tail = R"x("actions":3})x";
    EXPECT_EQ(positioned.substr(positioned.size() - tail.size()), tail);

    Deal("Freecell", 1);
    EXPECT_TRUE(Holds(StateJson(*Engine, false), R"x("reserve":[null,null,null,null])x"));
}

} // namespace
