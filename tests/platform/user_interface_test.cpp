#include <csignal>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/console_user_interface.h"
#include "platform/recording_user_interface.h"

namespace vellmora {
namespace {

TEST(RecordingUserInterface, AlertBeepsUnlessSilenced) {
    RecordingUserInterface ui;
    ui.alert("Failed to find...(--;)");
    ui.setBeepSilenced(true);
    ui.alert("Again", Buttons::YesNo);
    EXPECT_EQ(ui.beeps(), 1);
    ASSERT_EQ(ui.transcript().size(), 3u);
    EXPECT_EQ(ui.transcript()[0], "beep");
    EXPECT_EQ(ui.transcript()[1], "message OK: Failed to find...(--;)");
    EXPECT_EQ(ui.transcript()[2], "message Yes/No: Again");
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Failed to find...(--;)", "Again"}));
}

TEST(RecordingUserInterface, ScriptedAnswersThenFirstButton) {
    RecordingUserInterface ui;
    ui.answerNext(Answer::No);
    ui.answerNext(Answer::Cancel);
    EXPECT_EQ(ui.message("a", Buttons::YesNo), Answer::No);
    EXPECT_EQ(ui.message("b", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(ui.message("c", Buttons::YesNoCancel), Answer::Yes);
    EXPECT_EQ(ui.message("d", Buttons::OkCancel), Answer::Ok);
}

TEST(RecordingUserInterface, CancelArrivesAtTheScriptedPump) {
    RecordingUserInterface ui;
    ui.cancelAtPump(3);
    ui.pump();
    ui.pump();
    EXPECT_FALSE(ui.cancelRequested());
    ui.pump();
    EXPECT_TRUE(ui.cancelRequested());
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
    EXPECT_EQ(ui.pumps(), 3);
}

TEST(ConsoleUserInterface, MessagesGoOutOnePerLineAndQuestionsGoOn) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        ConsoleUserInterface ui(out);
        EXPECT_EQ(ui.alert("I'm busy now. Please wait for a minutes.m(__)m"), Answer::Ok);
        EXPECT_EQ(ui.message("Sort again?", Buttons::YesNo), Answer::Yes);
        EXPECT_EQ(ui.message("Save changes?", Buttons::YesNoCancel), Answer::Yes);
    }
    std::rewind(out);
    std::string written;
    for (int c; (c = std::fgetc(out)) != EOF;) written += static_cast<char>(c);
    std::fclose(out);
    // Not a terminal: no bell byte among the messages.
    EXPECT_EQ(written,
              "I'm busy now. Please wait for a minutes.m(__)m\nSort again?\nSave changes?\n");
}

TEST(ConsoleUserInterface, InterruptBecomesOneCancelRequest) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        ConsoleUserInterface ui(out);
        std::raise(SIGINT);
        EXPECT_FALSE(ui.cancelRequested());  // seen only at the next pump
        ui.pump();
        EXPECT_TRUE(ui.cancelRequested());
        ui.clearCancel();
        ui.pump();
        EXPECT_FALSE(ui.cancelRequested());
    }
    std::fclose(out);
}

}  // namespace
}  // namespace vellmora
