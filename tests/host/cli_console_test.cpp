// What brumix.exe's console layer decides where the console reaches it: pieces of a write,
// the answer to each Ctrl+C, and the barrier at main.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "cli/barrier.h"
#include "cli/console.h"
#include "cli/write_pieces.h"

namespace {

std::vector<std::u16string> Pieces(std::u16string_view text, std::size_t limit) {
    std::vector<std::u16string> pieces;
    EXPECT_TRUE(WriteInPieces(text, limit, [&](const char16_t* data, std::size_t count) {
        pieces.emplace_back(data, count);
        return count;
    }));
    return pieces;
}

TEST(CliWritePieces, APieceNeverEndsBetweenTheTwoHalvesOfASurrogatePair) {
    // U+1F600 is D83D DE00: a limit of 4 would cut after D83D.
    EXPECT_EQ(Pieces(u"abc\U0001F600d", 4), (std::vector<std::u16string>{u"abc", u"\U0001F600d"}));
    EXPECT_EQ(Pieces(u"ab\U0001F600d", 4), (std::vector<std::u16string>{u"ab\U0001F600", u"d"}));
    EXPECT_EQ(Pieces(u"\U0001F600\U0001F600", 3), (std::vector<std::u16string>{u"\U0001F600", u"\U0001F600"}));
    EXPECT_TRUE(Pieces(u"", 4).empty());
}

TEST(CliWritePieces, AWriteThatTakesLessThanGivenGoesOnWithTheRest) {
    const std::u16string text = u"clearing: 1234 items";
    std::u16string shown;
    int calls = 0;
    EXPECT_TRUE(WriteInPieces(std::u16string_view(text), 8, [&](const char16_t* data, std::size_t count) {
        ++calls;
        const std::size_t taken = std::min<std::size_t>(count, 3);
        shown.append(data, taken);
        return taken;
    }));
    EXPECT_EQ(shown, text);
    EXPECT_EQ(calls, 7);

    calls = 0;
    EXPECT_FALSE(WriteInPieces(std::u16string_view(text), 8, [&](const char16_t*, std::size_t) {
        ++calls;
        return std::size_t{0};
    })) << "a failed write, or one that takes nothing, is not asked again";
    EXPECT_EQ(calls, 1);
}

// Events arriving together are one press: a launcher that passes on what its console already
// sent, or two threads of one press.
TEST(CliStopFlag, PressesArrivingTogetherAreOneALaterOneEndsAtOnce) {
    StopFlag stop;
    EXPECT_FALSE(stop.Requested());
    EXPECT_EQ(stop.Press(0), StopFlag::Answer::Stop);
    EXPECT_TRUE(stop.Requested());
    EXPECT_EQ(stop.Press(0), StopFlag::Answer::SamePress);
    EXPECT_EQ(stop.Press(StopFlag::kSamePressMs - 1), StopFlag::Answer::SamePress);
    EXPECT_EQ(stop.Press(StopFlag::kSamePressMs), StopFlag::Answer::EndNow);

    StopFlag late;
    EXPECT_EQ(late.Press(5000), StopFlag::Answer::Stop);
    EXPECT_EQ(late.Press(4990), StopFlag::Answer::SamePress) << "read the clock first, came second";

    StopFlag together;
    std::atomic<int> stops{0};
    std::atomic<int> ends{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            const StopFlag::Answer answer = together.Press(7000);
            if (answer == StopFlag::Answer::Stop) ++stops;
            if (answer == StopFlag::Answer::EndNow) ++ends;
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(stops.load(), 1);
    EXPECT_EQ(ends.load(), 0);
}

// Closing the console window (or End task) is a first Ctrl+C whose handler holds on, whatever
// came before: Windows ends the process as soon as that handler returns.
TEST(CliStopFlag, CloseOfTheConsoleStopsAndHoldsEvenAfterAPress) {
    StopFlag closed;
    EXPECT_EQ(AnswerConsoleEvent(ConsoleEvent::Close, closed, 0), ConsoleAction::StopAndHold);
    EXPECT_TRUE(closed.Requested());

    StopFlag pressedFirst;
    EXPECT_EQ(AnswerConsoleEvent(ConsoleEvent::CtrlC, pressedFirst, 0), ConsoleAction::Stop);
    EXPECT_EQ(AnswerConsoleEvent(ConsoleEvent::Close, pressedFirst, 5000), ConsoleAction::StopAndHold);
    EXPECT_EQ(AnswerConsoleEvent(ConsoleEvent::CtrlBreak, pressedFirst, 9000), ConsoleAction::EndNow);
    EXPECT_LT(kCloseHoldMs, 5000u) << "within the time Windows gives a close handler";
}

std::string g_said;
void Say(const char* line) {
    g_said += line;
}

TEST(CliBarrier, AnExceptionEndsTheRunWithOneLineAndACodeOfItsOwn) {
    StopFlag stop;
    g_said.clear();
    EXPECT_EQ(RunGuarded([] { return 3; }, Say, stop), 3);
    EXPECT_EQ(g_said, "");

    EXPECT_EQ(RunGuarded([]() -> int { throw std::bad_alloc(); }, Say, stop), 5);
    EXPECT_EQ(g_said, "brumix: unexpected failure (std::bad_alloc); the run was cut short\n");
    g_said.clear();
    EXPECT_EQ(RunGuarded([]() -> int { throw 42; }, Say, stop), 5);
    EXPECT_EQ(g_said, "brumix: unexpected failure (an unknown exception); the run was cut short\n");

    stop.Press(0);
    EXPECT_EQ(RunGuarded([]() -> int { throw std::bad_alloc(); }, Say, stop), 130) << "the highest code holds";
}

}  // namespace
