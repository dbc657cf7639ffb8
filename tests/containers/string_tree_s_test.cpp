#include "containers/string_tree_s.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"

namespace vellmora {
namespace {

using Entry = CStringTreeS::Entry;
using KeyForm = CStringTreeS::KeyForm;
using Direction = CStringTreeS::Direction;

std::vector<std::string> secondTexts(const CStringTreeS& set) {
    std::vector<std::string> out;
    for (const Entry& entry : set) out.push_back(entry.text2);
    return out;
}

TEST(CStringTreeS, EqualKeysReturnTheEntryAlreadyThere) {
    RecordingUserInterface ui;
    CStringTreeS set(KeyForm::TextsNoCase);
    const auto first = set.insert({"key", "line", "payload", 7}, ui);
    EXPECT_TRUE(first.inserted);
    const auto again = set.insert({"KEY", "LINE", "other", 8}, ui);
    EXPECT_FALSE(again.inserted);
    EXPECT_EQ(again.entry, first.entry);
    EXPECT_EQ(again.entry->text3, "payload");
    EXPECT_EQ(again.entry->number, 7);
    EXPECT_EQ(set.size(), 1u);
    EXPECT_GT(ui.pumps(), 0);

    set.clear();
    EXPECT_TRUE(set.isEmpty());
}

TEST(CStringTreeS, OrdersByKeyThenByLineInEitherComparison) {
    RecordingUserInterface ui;
    CStringTreeS folded(KeyForm::TextsNoCase);
    CStringTreeS exact(KeyForm::TextsExact);
    for (CStringTreeS* set : {&folded, &exact}) {
        set->insert({"apple", "3 apple"}, ui);
        set->insert({"Apple", "1 Apple"}, ui);
        set->insert({"", "0 no key"}, ui);
        set->insert({"banana", "2 banana"}, ui);
    }
    // Folded, Apple and apple are one key, so their lines decide.
    EXPECT_EQ(secondTexts(folded),
              (std::vector<std::string>{"0 no key", "1 Apple", "3 apple", "2 banana"}));
    EXPECT_EQ(secondTexts(exact),
              (std::vector<std::string>{"0 no key", "1 Apple", "3 apple", "2 banana"}));
    exact.insert({"Banana", "4"}, ui);
    EXPECT_EQ(secondTexts(exact)[2], "4");  // byte order: every capital before lower case

    std::vector<std::string> backwards;
    for (auto it = folded.rbegin(); it != folded.rend(); ++it) backwards.push_back(it->text2);
    EXPECT_EQ(backwards, (std::vector<std::string>{"2 banana", "3 apple", "1 Apple", "0 no key"}));
}

TEST(CStringTreeS, DirectionsApplyPerTextKey) {
    RecordingUserInterface ui;
    CStringTreeS set(KeyForm::TextsExact);
    ASSERT_TRUE(set.setDirections(Direction::Descending, Direction::Ascending));
    set.insert({"a", "2"}, ui);
    set.insert({"b", "1"}, ui);
    set.insert({"a", "1"}, ui);
    EXPECT_EQ(secondTexts(set), (std::vector<std::string>{"1", "1", "2"}));
    EXPECT_EQ(set.begin()->text1, "b");
    // Turning a filled set around would corrupt it.
    EXPECT_FALSE(set.setDirections(Direction::Ascending, Direction::Ascending));

    // The number key always rises; the first direction turns the text under it.
    CStringTreeS rows(KeyForm::NumberThenText);
    ASSERT_TRUE(rows.setDirections(Direction::Descending, Direction::Ascending));
    rows.insert({"x", "", "", 2}, ui);
    rows.insert({"a", "", "", 2}, ui);
    rows.insert({"z", "", "", 1}, ui);
    rows.insert({"X", "", "", 2}, ui);  // equal to x without case
    std::vector<std::string> texts;
    for (const Entry& entry : rows) texts.push_back(entry.text1);
    EXPECT_EQ(texts, (std::vector<std::string>{"z", "x", "a"}));
}

}  // namespace
}  // namespace vellmora
