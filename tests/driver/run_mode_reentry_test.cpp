// Run mode when something re-enters the driver: a tick during a host call or
// during a tick, host calls while answers are sent or orders are visited.
#include "tests/driver/run_mode_fixture.h"

namespace lm::test {
namespace {

class RunModeReentry : public RunModeFixture {
protected:
    std::int64_t Countdown() { return run().orders().Countdown(*run().orders().begin()); }
};

TEST_F(RunModeReentry, ATickDuringAHostCallDoesNothingEvenAfterANestedCall) {
    Running();
    Order(11, 1, 1, host_->handle(), 0);
    std::filesystem::remove(dir_.driver_dir() / "SETCOM.INI");
    fake_->on_box = [&](const FakePlatform::Box&) {
        Ticks(1);
        PARAM_ENTRY nested = Record(kOrderService);  // the host calls in meanwhile
        Call(nested);
        Ticks(1);
    };
    StartRun();
    fake_->on_box = nullptr;
    EXPECT_TRUE(client_->received.empty());
    EXPECT_EQ(Countdown(), 0);
    client_->Announce();
    Ticks(1);
    EXPECT_EQ(client_->received, std::vector<std::string>{"QQ_RD 0B 01 01|"});
}

TEST_F(RunModeReentry, ATickDuringATicksSendIsSkipped) {
    Running();
    Order(11, 1, 1, host_->handle(), 50);
    SetData(11, 1, 1, 1);
    SetData(11, 1, 1, 2);
    client_->on_text = [&](const std::string&) { fake_->Tick(); };
    Ticks(1);
    EXPECT_EQ(client_->received, (std::vector<std::string>{"QQ_WR 0B 01 01 01 00 00 00|",
                                                           "QQ_WR 0B 01 01 02 00 00 00|"}));
    EXPECT_EQ(Countdown(), 49);  // one order pass
}

TEST_F(RunModeReentry, AnOrderPlacedWhileAnAnswerIsSentIsKeptAndTheOtherAnswersFollow) {
    Running();
    Order(11, 1, 1, host_->handle(), 50, 1);
    Order(11, 1, 1, other_->handle(), 50, 2);
    host_->on_answer = [&](const lumarsim::LiveAnswer&) {
        host_->on_answer = nullptr;
        Order(11, 2, 1, host_->handle(), 0, 3);
    };
    client_->Send("QQ_RD 0B 01 01 01 02 03 04|");
    EXPECT_EQ(host_->answers.size(), 1u);
    EXPECT_EQ(other_->answers.size(), 1u);
    EXPECT_EQ(run().orders().size(), 3u);
    Ticks(1);
    EXPECT_EQ(client_->received, std::vector<std::string>{"QQ_RD 0B 02 01|"});
}

TEST_F(RunModeReentry, AWindowWithdrawnWhileItsAnswersAreSentGetsNoMore) {
    Running();
    Order(11, 1, 1, host_->handle(), 50, 1);
    Order(11, 1, 3, host_->handle(), 50, 2);
    host_->on_answer = [&](const lumarsim::LiveAnswer&) { Unorder(0, 0, 0, host_->handle(), 0); };
    Order(11, 1, 1, other_->handle(), 50, 3);
    client_->Send("QQ_RD 0B 01 01 01 02 03 04|");
    client_->Send("QQ_RD 0B 01 03 41 42 43 44|");
    EXPECT_EQ(host_->answers.size(), 1u);
    EXPECT_EQ(other_->answers.size(), 1u);
    EXPECT_EQ(run().orders().size(), 1u);
}

TEST_F(RunModeReentry, AnAnswerWalkStartsAgainWhenAnOrderIsWithdrawnMeanwhile) {
    Running();
    EnableLog();
    Order(11, 1, 1, host_->handle(), 50, 1);
    Order(11, 1, 1, other_->handle(), 50, 2);
    bool withdrawn = false;
    fake_->on_update = [&] {
        const auto& memo = MemoLines();
        if (withdrawn || memo.empty() || memo.back() != "WndProc data sending - start") return;
        withdrawn = true;
        Unorder(11, 1, 1, host_->handle(), 1);
    };
    client_->Send("QQ_RD 0B 01 01 01 02 03 04|");
    fake_->on_update = nullptr;
    EXPECT_TRUE(withdrawn);
    EXPECT_EQ(host_->answers.size(), 1u);  // queued before it was withdrawn
    EXPECT_EQ(other_->answers.size(), 1u);
    EXPECT_EQ(run().orders().size(), 1u);
}

TEST_F(RunModeReentry, AnOrderPassSkipsAnOrderAheadWithdrawnMeanwhileAndVisitsEachOnce) {
    Running();
    EnableLog();
    Order(11, 1, 1, host_->handle(), 0, 1);
    Order(11, 2, 1, host_->handle(), 0, 2);
    bool withdrawn = false;
    fake_->on_update = [&] {
        const auto& memo = MemoLines();
        if (withdrawn || memo.empty() || memo.back() != "TIMER RUN read Kadex-2") return;
        withdrawn = true;
        Unorder(11, 2, 1, host_->handle(), 2);
    };
    Ticks(1);
    fake_->on_update = nullptr;
    EXPECT_EQ(client_->received, std::vector<std::string>{"QQ_RD 0B 01 01|"});
    EXPECT_EQ(run().orders().size(), 1u);
    EXPECT_EQ(Countdown(), 0);  // visited once although the list changed
    EXPECT_EQ(window()["ProgressBarCom"].position, 1);
}

}  // namespace
}  // namespace lm::test
